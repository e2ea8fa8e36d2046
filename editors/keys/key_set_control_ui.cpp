#include "editors/keys/key_set_control_ui.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QStringListModel>

#include "core/debug_line.h"
#include "editors/keys/key_capture.h"
#include "editors/keys/key_control_names.h"
#include "ui/indexed_name.h"
#include "ui/language.h"
#include "ui/notify_wiring.h"
#include "ui/number_edit.h"
#include "ui/skin_loader.h"

using namespace qxr::editors::keys;
namespace n = qxr::editors::keys::names;

namespace {

QString qname(std::string_view name) { return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())); }

constexpr int kKeyboardKind = 1;
// The groups a keyboard has no use for.
constexpr int kMouseOnlyGroups[] = {kGroupDpi, kGroupGun};
// Dynamic property of the key text: the display-name key it shows.
constexpr const char* kNameKeyProperty = "_name_key";
constexpr int kMacroItemHeight = 30;
constexpr int kNumberEditLength = 3;

// The combo item index, or kNoItem for no selection.
int item_of(QComboBox* c) { return c == nullptr ? kNoItem : c->currentIndex(); }

void set_item(QComboBox* c, int item) {
  if (c == nullptr) return;
  qxr::ui::select_item(c, item >= 0 && item < c->count() ? item : kNoItem, false);
}

std::string text_of(QLineEdit* e) { return e == nullptr ? std::string() : e->text().toStdString(); }

void set_text(QLineEdit* e, const std::string& text) {
  if (e != nullptr) e->setText(QString::fromStdString(text));
}

}  // namespace

CKeySetControlUI::CKeySetControlUI(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this)) {
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
}

CKeySetControlUI::~CKeySetControlUI() = default;

bool CKeySetControlUI::set_attribute(const QString& name, const QVariant& value) {
  return skin_.take_attribute(name, value);
}

bool CKeySetControlUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  if (event->type() == QEvent::Show) InitControls();
  return QWidget::event(event);
}

bool CKeySetControlUI::InitControls() {
  if (content_ != nullptr) return true;
  content_ = skin_.build(*this, *layout_, cache_);
  if (content_ == nullptr) return false;
  // The group of each function item is in the combo's item data list.
  if (auto* functions = control<QComboBox>(n::kFunctionCombo)) {
    const QStringList ids = functions->property(n::kGroupIdsAttribute.data()).toString().split(QLatin1Char(','));
    for (int i = 0; i < functions->count(); ++i) {
      bool ok = false;
      const int group = i < ids.size() ? ids[i].trimmed().toInt(&ok) : kNoGroup;
      functions->setItemData(i, ok ? group : kNoGroup);
    }
  }
  for (std::string_view edit : {n::kSwingCountEdit, n::kSwingDelayEdit, n::kSwingSpeedEdit, n::kWheelCountEdit,
                                n::kWheelDelayEdit, n::kWheelSpeedEdit, n::kFireIntervalEdit, n::kFireCountEdit,
                                n::kMacroRepeatEdit}) {
    qxr::ui::make_number_edit(control<QLineEdit>(edit), kNumberEditLength);
  }
  if (auto* macros = control<QComboBox>(n::kMacroCombo)) {
    if (auto* list = qobject_cast<QListView*>(macros->view())) list->setGridSize(QSize(0, kMacroItemHeight));
  }
  key_text_ = control<QLineEdit>(n::kKeyTextEdit);
  if (key_text_ != nullptr) key_text_->installEventFilter(this);
  if (auto* search = control<QLineEdit>(n::kKeyNameSearch)) {
    completer_ = new QCompleter(this);
    completer_->setCaseSensitivity(Qt::CaseInsensitive);
    completer_->setFilterMode(Qt::MatchContains);
    completer_->setCompletionRole(Qt::DisplayRole);
    search->setCompleter(completer_);
    fill_name_search();
    connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this, [this, search](const QModelIndex& i) {
      TakeKeyEntry(static_cast<size_t>(i.data(Qt::UserRole).toInt()));
      // The choice shows in the key text; the search is done.
      QMetaObject::invokeMethod(search, &QLineEdit::clear, Qt::QueuedConnection);
    });
    connect(&qxr::ui::Language::instance(), &qxr::ui::Language::changed, this, [this] { fill_name_search(); });
  }
  SetDeviceKind(kind_);
  return true;
}

QWidget* CKeySetControlUI::control(std::string_view name) {
  if (!InitControls()) return nullptr;
  return cache_.find(qname(name));
}

void CKeySetControlUI::fill_name_search() {
  if (completer_ == nullptr) return;
  auto* model = new QStandardItemModel(completer_);
  for (size_t k = 0; k <= kLastOrdinaryKey; ++k) {
    const std::string_view key = key_name(KeyTable::Keyboard, k);
    auto* item = new QStandardItem(qxr::ui::Language::instance().text(QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()))));
    item->setData(static_cast<int>(k), Qt::UserRole);
    model->appendRow(item);
  }
  QAbstractItemModel* old = completer_->model();
  completer_->setModel(model);
  if (old != nullptr && old->parent() == completer_) old->deleteLater();
}

void CKeySetControlUI::SetDeviceKind(int kind) {
  kind_ = kind;
  hidden_groups_.clear();
  if (kind == kKeyboardKind) hidden_groups_.insert(std::begin(kMouseOnlyGroups), std::end(kMouseOnlyGroups));
  auto* functions = content_ == nullptr ? nullptr : control<QComboBox>(n::kFunctionCombo);
  if (functions == nullptr) return;
  auto* list = qobject_cast<QListView*>(functions->view());
  auto* model = qobject_cast<QStandardItemModel*>(functions->model());
  for (int i = 0; i < functions->count(); ++i) {
    const bool hidden = hidden_groups_.count(functions->itemData(i).toInt()) > 0;
    if (list != nullptr) list->setRowHidden(i, hidden);
    if (model != nullptr && model->item(i) != nullptr) model->item(i)->setEnabled(!hidden);
  }
}

// ---- macro list ----

void CKeySetControlUI::FillMacroList(const std::vector<std::string>& names) {
  auto* macros = control<QComboBox>(n::kMacroCombo);
  if (macros == nullptr) return;
  qxr::ui::NotifySilencer quiet(macros);
  for (const std::string& name : names) macros->addItem(QString::fromStdString(name));
  macros->setCurrentIndex(kNoItem);
}

void CKeySetControlUI::SetMacroList(const std::vector<std::string>& names) {
  auto* macros = control<QComboBox>(n::kMacroCombo);
  if (macros == nullptr) return;
  {
    qxr::ui::NotifySilencer quiet(macros);
    macros->clear();
  }
  FillMacroList(names);
}

void CKeySetControlUI::AddMacroItem(const std::string& name) { FillMacroList({name}); }

void CKeySetControlUI::RemoveMacroItem(int index) {
  auto* macros = control<QComboBox>(n::kMacroCombo);
  if (macros == nullptr || index < 0 || index >= macros->count()) return;
  qxr::ui::NotifySilencer quiet(macros);
  macros->removeItem(index);
}

void CKeySetControlUI::RenameMacroItem(int index, const std::string& name) {
  auto* macros = control<QComboBox>(n::kMacroCombo);
  if (macros == nullptr || index < 0 || index >= macros->count() || name.empty()) return;
  macros->setItemText(index, QString::fromStdString(name));
}

int CKeySetControlUI::macro_count() {
  auto* macros = control<QComboBox>(n::kMacroCombo);
  return macros == nullptr ? 0 : macros->count();
}

// ---- records ----

void CKeySetControlUI::SetAssignments(const qxr::KeyAssignment& current, const qxr::KeyAssignment& defaults) {
  current_ = current;
  default_ = defaults;
  ShowAssignment(current_);
}

void CKeySetControlUI::ShowDefault() { ShowAssignment(default_); }

void CKeySetControlUI::ShowCurrent() { ShowAssignment(current_); }

void CKeySetControlUI::ShowAssignment(const qxr::KeyAssignment& record) {
  KeyPanelView v = view();
  show_assignment(v, record, current_, default_, macro_count());
  show(v);
}

qxr::KeyAssignment CKeySetControlUI::ReadAssignment() {
  current_ = read_assignment(view(), current_, default_, macro_count());
  return current_;
}

void CKeySetControlUI::TakeKeyEntry(size_t k) {
  if (k > kLastOrdinaryKey) return;
  KeyPanelView v = view();
  current_ = capture_key(v, k, current_, default_, macro_count());
  SetModifierCheck(v.modifier_box);
  ShowKeyName(v.key_name);
  if (entry_taken) entry_taken();
}

// ---- controls ----

void CKeySetControlUI::SetModifierCheck(int box) {
  for (int i = 0; i < kModifierBoxCount; ++i) {
    auto* b = control<QAbstractButton>(qxr::ui::indexed_name(qname(n::kModifierBoxPrefix), i).toStdString());
    if (b == nullptr) continue;
    qxr::ui::NotifySilencer quiet(b);
    const bool exclusive = b->autoExclusive();
    b->setAutoExclusive(false);
    b->setChecked(i == box);
    b->setAutoExclusive(exclusive);
  }
}

int CKeySetControlUI::GetModifierCheck() {
  for (int i = 0; i < kModifierBoxCount; ++i) {
    auto* b = control<QAbstractButton>(qxr::ui::indexed_name(qname(n::kModifierBoxPrefix), i).toStdString());
    if (b != nullptr && b->isChecked()) return i;
  }
  return kNoItem;
}

void CKeySetControlUI::SetButtonsEnabled(bool on) {
  for (std::string_view name : {n::kSaveButton, n::kCancelButton, n::kProfileSaveButton}) {
    if (QWidget* b = control(name)) b->setEnabled(on);
  }
}

void CKeySetControlUI::ShowKeyName(std::string_view name_key) {
  if (key_text_ == nullptr) return;
  const QString key = QString::fromUtf8(name_key.data(), static_cast<qsizetype>(name_key.size()));
  key_text_->setProperty(kNameKeyProperty, key);
  key_text_->setText(key.isEmpty() ? QString() : qxr::ui::localized_text(window(), key));
}

int CKeySetControlUI::selected_group() {
  auto* functions = control<QComboBox>(n::kFunctionCombo);
  if (functions == nullptr || functions->currentIndex() < 0) return kNoGroup;
  const int group = functions->currentData().toInt();
  return hidden_groups_.count(group) ? kNoGroup : group;
}

void CKeySetControlUI::select_group_item(int group) {
  auto* functions = control<QComboBox>(n::kFunctionCombo);
  const int item = functions == nullptr || hidden_groups_.count(group) ? -1 : functions->findData(group);
  if (QWidget* editor = control(n::kLayout)) editor->setVisible(item >= 0);
  if (item < 0) return;
  set_item(functions, item);
  if (auto* pages = control<QStackedWidget>(n::kGroupSwitch)) {
    if (group < pages->count()) pages->setCurrentIndex(group);
  }
}

bool CKeySetControlUI::editable() {
  QWidget* editor = control(n::kLayout);
  return editor != nullptr && !editor->isHidden();
}

void CKeySetControlUI::SelectGroup() {
  KeyPanelView v = view();
  enter_group(v, selected_group());
  if (auto* pages = control<QStackedWidget>(n::kGroupSwitch)) {
    if (v.group >= 0 && v.group < pages->count()) pages->setCurrentIndex(v.group);
  }
  if (v.group == kGroupKeyboard) {
    SetModifierCheck(v.modifier_box);
    ShowKeyName(v.key_name);
  }
}

void CKeySetControlUI::ShowMacroRepeat() {
  if (QWidget* repeat = control(n::kMacroRepeatLayout)) {
    repeat->setVisible(item_of(control<QComboBox>(n::kMacroModeCombo)) == kMacroRepeatItem);
  }
}

KeyPanelView CKeySetControlUI::view() {
  KeyPanelView v;
  v.group = selected_group();
  v.mouse_button = item_of(control<QComboBox>(n::kMouseKeyCombo));
  v.swing_direction = item_of(control<QComboBox>(n::kSwingCombo));
  v.swing_delay = text_of(control<QLineEdit>(n::kSwingDelayEdit));
  v.swing_speed = text_of(control<QLineEdit>(n::kSwingSpeedEdit));
  v.swing_count = text_of(control<QLineEdit>(n::kSwingCountEdit));
  v.wheel_direction = item_of(control<QComboBox>(n::kWheelCombo));
  v.wheel_delay = text_of(control<QLineEdit>(n::kWheelDelayEdit));
  v.wheel_speed = text_of(control<QLineEdit>(n::kWheelSpeedEdit));
  v.wheel_count = text_of(control<QLineEdit>(n::kWheelCountEdit));
  v.dpi = item_of(control<QComboBox>(n::kDpiCombo));
  v.fire_interval = text_of(control<QLineEdit>(n::kFireIntervalEdit));
  v.fire_count = text_of(control<QLineEdit>(n::kFireCountEdit));
  v.modifier_box = GetModifierCheck();
  if (key_text_ != nullptr && !key_text_->text().isEmpty()) v.key_name = key_text_->property(kNameKeyProperty).toString().toStdString();
  v.media = item_of(control<QComboBox>(n::kMediaCombo));
  v.system = item_of(control<QComboBox>(n::kSystemCombo));
  v.macro = item_of(control<QComboBox>(n::kMacroCombo));
  v.macro_mode = item_of(control<QComboBox>(n::kMacroModeCombo));
  QWidget* repeat = control(n::kMacroRepeatLayout);
  v.macro_repeat_shown = repeat != nullptr && !repeat->isHidden();
  v.macro_repeat = text_of(control<QLineEdit>(n::kMacroRepeatEdit));
  v.gun = item_of(control<QComboBox>(n::kGunCombo));
  v.combo = item_of(control<QComboBox>(n::kComboKeyCombo));
  return v;
}

void CKeySetControlUI::show(const KeyPanelView& v) {
  set_item(control<QComboBox>(n::kMouseKeyCombo), v.mouse_button);
  set_item(control<QComboBox>(n::kSwingCombo), v.swing_direction);
  set_text(control<QLineEdit>(n::kSwingDelayEdit), v.swing_delay);
  set_text(control<QLineEdit>(n::kSwingSpeedEdit), v.swing_speed);
  set_text(control<QLineEdit>(n::kSwingCountEdit), v.swing_count);
  set_item(control<QComboBox>(n::kWheelCombo), v.wheel_direction);
  set_text(control<QLineEdit>(n::kWheelDelayEdit), v.wheel_delay);
  set_text(control<QLineEdit>(n::kWheelSpeedEdit), v.wheel_speed);
  set_text(control<QLineEdit>(n::kWheelCountEdit), v.wheel_count);
  set_item(control<QComboBox>(n::kDpiCombo), v.dpi);
  set_text(control<QLineEdit>(n::kFireIntervalEdit), v.fire_interval);
  set_text(control<QLineEdit>(n::kFireCountEdit), v.fire_count);
  SetModifierCheck(v.modifier_box);
  ShowKeyName(v.key_name);
  set_item(control<QComboBox>(n::kMediaCombo), v.media);
  set_item(control<QComboBox>(n::kSystemCombo), v.system);
  set_item(control<QComboBox>(n::kMacroCombo), v.macro);
  set_item(control<QComboBox>(n::kMacroModeCombo), v.macro_mode);
  if (QWidget* repeat = control(n::kMacroRepeatLayout)) repeat->setVisible(v.macro_repeat_shown);
  set_text(control<QLineEdit>(n::kMacroRepeatEdit), v.macro_repeat);
  set_item(control<QComboBox>(n::kGunCombo), v.gun);
  set_item(control<QComboBox>(n::kComboKeyCombo), v.combo);
  select_group_item(v.group);
}

// ---- key capture ----

bool CKeySetControlUI::eventFilter(QObject* watched, QEvent* event) {
  if (watched != key_text_) return QWidget::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::FocusIn:
      capturing_ = true;
      break;
    case QEvent::FocusOut:
      capturing_ = false;
      break;
    case QEvent::ShortcutOverride:
      // No shortcut of the window may take a key the user wants to assign.
      if (capturing_) {
        event->accept();
        return true;
      }
      break;
    case QEvent::KeyPress: {
      if (!capturing_) break;
      const auto* key = static_cast<QKeyEvent*>(event);
      if (!key->isAutoRepeat()) {
        if (const auto entry = captured_entry(key->nativeScanCode())) TakeKeyEntry(*entry);
      }
      return true;
    }
    case QEvent::KeyRelease:
      if (capturing_) return true;
      break;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}
