#include "ui/notify_wiring.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QButtonGroup>
#include <QColor>
#include <QColorDialog>
#include <QComboBox>
#include <QEvent>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>

#include <memory>

#include "ui/colour_relay.h"
#include "ui/notification.h"
#include "ui/skin_control.h"

// How widget signals become notifications (param1 / param2 in brackets):
//
// | widget                         | Qt signal or event                 | notification          |
// |--------------------------------|------------------------------------|-----------------------|
// | button, not checkable          | clicked                            | click                 |
// | button, checkable (option)     | clicked                            | click (checked)       |
// |                                | toggled; exclusive ones only when  | selectchanged         |
// |                                | they become checked                | (checked)             |
// | any button without own hover   | Enter / Leave                      | msenter / msleave     |
// | combo box                      | currentIndexChanged                | itemselect (new, old) |
// | slider                         | sliderMoved (dragging)             | movevaluechanged (v)  |
// |                                | sliderReleased                     | valuechanged (v)      |
// |                                | keyboard, wheel, page steps        | valuechanged (v)      |
// | line edit                      | textEdited (the user typed)        | textchanged           |
// | line edit, text edits          | FocusOut                           | killfocus             |
// | text edits                     | textChanged while focused          | textchanged           |
// | item views                     | current item changed               | itemselect (new, old) |
// |                                | clicked / activated                | itemclick / itemactivate (row) |
// | tab widget, free tab bar       | currentChanged                     | selectchanged (index) |
// | colour dialog (embedded)       | currentColorChanged                | colorchanged (rgba)   |
// | widget with colorChanged(QColor)| colorChanged                      | colorchanged (rgba)   |
//
// A slider set by the program (setValue) sends nothing: only the user commits a value. A combo
// box or option changed by the program does notify unless a NotifySilencer is active, so a
// page can select "with or without notification". The root's "windowinit"/"windowsize" come
// from set_notify_handler; "timer" from control_timer.h; the program's own controls send their
// own types ("dbclick", "click_select_end", "click_handdelete").

namespace qxr::ui {
namespace {

const char* const kWiredProperty = "_qxr_wired";
const char* const kSilentProperty = "_qxr_silent";

void notify(QWidget* w, const QString& type, qintptr p1 = 0, qintptr p2 = 0) {
  if (!notifications_silenced(w)) send_notify(w, type, p1, p2);
}

// One filter for the hover and focus events of every wired widget; a child of the widget it
// serves first, so it never outlives the tree.
class EventMapper : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!watched->isWidgetType()) return false;
    auto* w = static_cast<QWidget*>(watched);
    switch (event->type()) {
      case QEvent::Enter:
        if (w->property("_qxr_hover").toBool()) notify(w, notify_type::kMouseEnter);
        break;
      case QEvent::Leave:
        if (w->property("_qxr_hover").toBool()) notify(w, notify_type::kMouseLeave);
        break;
      case QEvent::FocusOut:
        if (w->property("_qxr_killfocus").toBool()) notify(w, notify_type::kKillFocus);
        break;
      default:
        break;
    }
    return false;
  }
};

bool is_exclusive(const QAbstractButton* b) {
  return b->autoExclusive() || (b->group() != nullptr && b->group()->exclusive());
}

void wire_button(QAbstractButton* b, EventMapper* mapper) {
  QObject::connect(b, &QAbstractButton::clicked, b,
                   [b](bool checked) { notify(b, notify_type::kClick, b->isCheckable() ? checked : 0); });
  QObject::connect(b, &QAbstractButton::toggled, b, [b](bool checked) {
    if (!checked && is_exclusive(b)) return;
    notify(b, notify_type::kSelectChanged, checked);
  });
  const auto* control = dynamic_cast<const SkinControl*>(static_cast<QWidget*>(b));
  if (control == nullptr || !control->notifies_hover()) {
    b->setProperty("_qxr_hover", true);
    b->installEventFilter(mapper);
  }
}

void wire_combo(QComboBox* c) {
  auto previous = std::make_shared<int>(c->currentIndex());
  QObject::connect(c, &QComboBox::currentIndexChanged, c, [c, previous](int index) {
    const int old = *previous;
    *previous = index;
    notify(c, notify_type::kItemSelect, index, old);
  });
}

void wire_slider(QAbstractSlider* s) {
  // Set between a user action and the value change it causes.
  auto user_step = std::make_shared<bool>(false);
  QObject::connect(s, &QAbstractSlider::actionTriggered, s, [s, user_step](int action) {
    if (action == QAbstractSlider::SliderNoAction || s->isSliderDown()) return;
    *user_step = s->sliderPosition() != s->value();
  });
  QObject::connect(s, &QAbstractSlider::valueChanged, s, [s, user_step](int value) {
    if (!*user_step || s->isSliderDown()) return;
    *user_step = false;
    notify(s, notify_type::kValueChanged, value);
  });
  QObject::connect(s, &QAbstractSlider::sliderMoved, s,
                   [s](int position) { notify(s, notify_type::kMoveValueChanged, position); });
  QObject::connect(s, &QAbstractSlider::sliderReleased, s,
                   [s]() { notify(s, notify_type::kValueChanged, s->value()); });
}

void wire_focus_out(QWidget* w, EventMapper* mapper) {
  w->setProperty("_qxr_killfocus", true);
  w->installEventFilter(mapper);
}

void wire_item_view(QAbstractItemView* v) {
  QObject::connect(v, &QAbstractItemView::clicked, v,
                   [v](const QModelIndex& index) { notify(v, notify_type::kItemClick, index.row()); });
  QObject::connect(v, &QAbstractItemView::activated, v,
                   [v](const QModelIndex& index) { notify(v, notify_type::kItemActivate, index.row()); });
  if (QItemSelectionModel* selection = v->selectionModel()) {
    QObject::connect(selection, &QItemSelectionModel::currentChanged, v,
                     [v](const QModelIndex& now, const QModelIndex& before) {
                       notify(v, notify_type::kItemSelect, now.row(), before.row());
                     });
  }
}

void wire_colour_signal(QWidget* w) {
  if (auto* dialog = qobject_cast<QColorDialog*>(w)) {
    QObject::connect(dialog, &QColorDialog::currentColorChanged, dialog,
                     [dialog](const QColor& c) { notify(dialog, notify_type::kColorChanged, c.rgba()); });
    return;
  }
  const QMetaObject* meta = w->metaObject();
  const int signal_index = meta->indexOfSignal("colorChanged(QColor)");
  if (signal_index < 0) return;
  auto* relay = new ColourRelay(w);
  const int slot_index = relay->metaObject()->indexOfSlot("relay(QColor)");
  QObject::connect(w, meta->method(signal_index), relay, relay->metaObject()->method(slot_index));
}

void wire_widget(QWidget* w, EventMapper* mapper) {
  if (w->property(kWiredProperty).toBool()) return;
  w->setProperty(kWiredProperty, true);
  if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    wire_button(b, mapper);
  } else if (auto* c = qobject_cast<QComboBox*>(w)) {
    wire_combo(c);
  } else if (auto* s = qobject_cast<QAbstractSlider*>(w)) {
    wire_slider(s);
  } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
    // A combo box's own line edit reports through the combo box.
    if (qobject_cast<QComboBox*>(w->parentWidget()) == nullptr) {
      QObject::connect(e, &QLineEdit::textEdited, e, [e] { notify(e, notify_type::kTextChanged); });
      wire_focus_out(e, mapper);
    }
  } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
    QObject::connect(t, &QTextEdit::textChanged, t, [t] {
      if (t->hasFocus()) notify(t, notify_type::kTextChanged);
    });
    wire_focus_out(t, mapper);
  } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
    QObject::connect(p, &QPlainTextEdit::textChanged, p, [p] {
      if (p->hasFocus()) notify(p, notify_type::kTextChanged);
    });
    wire_focus_out(p, mapper);
  } else if (auto* v = qobject_cast<QAbstractItemView*>(w)) {
    // A combo box's popup list reports through the combo box.
    if (w->parentWidget() == nullptr || qobject_cast<QComboBox*>(w->parentWidget()->parentWidget()) == nullptr) {
      wire_item_view(v);
    }
  } else if (auto* tw = qobject_cast<QTabWidget*>(w)) {
    QObject::connect(tw, &QTabWidget::currentChanged, tw,
                     [tw](int index) { notify(tw, notify_type::kSelectChanged, index); });
  } else if (auto* tb = qobject_cast<QTabBar*>(w)) {
    if (qobject_cast<QTabWidget*>(w->parentWidget()) == nullptr) {
      QObject::connect(tb, &QTabBar::currentChanged, tb,
                       [tb](int index) { notify(tb, notify_type::kSelectChanged, index); });
    }
  }
  wire_colour_signal(w);
}

}  // namespace

void wire_notifications(QWidget* root) {
  if (root == nullptr) return;
  auto* mapper = root->findChild<EventMapper*>(QStringLiteral("qxr_event_mapper"), Qt::FindDirectChildrenOnly);
  if (mapper == nullptr) {
    mapper = new EventMapper(root);
    mapper->setObjectName(QStringLiteral("qxr_event_mapper"));
  }
  wire_widget(root, mapper);
  const QList<QWidget*> all = root->findChildren<QWidget*>();
  for (QWidget* w : all) wire_widget(w, mapper);
}

NotifySilencer::NotifySilencer(QWidget* widget) : widget_(widget), was_silent_(notifications_silenced(widget)) {
  if (widget_ != nullptr) widget_->setProperty(kSilentProperty, true);
}

NotifySilencer::~NotifySilencer() {
  if (widget_ != nullptr) widget_->setProperty(kSilentProperty, was_silent_);
}

void select_item(QComboBox* combo, int index, bool notify) {
  if (combo == nullptr) return;
  if (notify) {
    combo->setCurrentIndex(index);
    return;
  }
  NotifySilencer quiet(combo);
  combo->setCurrentIndex(index);
}

bool notifications_silenced(const QWidget* widget) {
  return widget != nullptr && widget->property(kSilentProperty).toBool();
}

void set_checked_quietly(QAbstractButton* button, bool on) {
  if (button == nullptr) return;
  NotifySilencer quiet(button);
  const bool exclusive = button->autoExclusive();
  button->setAutoExclusive(false);
  button->setChecked(on);
  button->setAutoExclusive(exclusive);
}

void set_value_quietly(QAbstractSlider* slider, int value) {
  if (slider == nullptr) return;
  NotifySilencer quiet(slider);
  slider->setValue(value);
}

}  // namespace qxr::ui
