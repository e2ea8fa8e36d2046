#include "ui/language.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>

#include "core/debug_line.h"
#include "ui/skin_resources.h"

namespace qxr::ui {
namespace {

// Item roles for combo box texts; far above the roles pages use for their own item data.
constexpr int kSourceRole = Qt::UserRole + 0x5100;
constexpr int kShownRole = Qt::UserRole + 0x5101;

// One translatable text of a widget, with the names of the properties that keep its source
// and the text last shown.
struct TextSlot {
  const char* source;
  const char* shown;
  QString (*get)(const QWidget*);
  void (*set)(QWidget*, const QString&);
};

QString main_text(const QWidget* w) {
  if (auto* l = qobject_cast<const QLabel*>(w)) return l->text();
  if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
  if (auto* g = qobject_cast<const QGroupBox*>(w)) return g->title();
  if (w->isWindow()) return w->windowTitle();
  return {};
}

void set_main_text(QWidget* w, const QString& text) {
  if (auto* l = qobject_cast<QLabel*>(w)) {
    l->setText(text);
  } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
    b->setText(text);
  } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
    g->setTitle(text);
  } else if (w->isWindow()) {
    w->setWindowTitle(text);
  }
}

const TextSlot kMainText{"_qxr_text_src", "_qxr_text_shown", main_text, set_main_text};
const TextSlot kToolTip{"_qxr_tip_src", "_qxr_tip_shown", [](const QWidget* w) { return w->toolTip(); },
                        [](QWidget* w, const QString& t) { w->setToolTip(t); }};
const TextSlot kPlaceholder{
    "_qxr_hint_src", "_qxr_hint_shown",
    [](const QWidget* w) { return static_cast<const QLineEdit*>(w)->placeholderText(); },
    [](QWidget* w, const QString& t) { static_cast<QLineEdit*>(w)->setPlaceholderText(t); }};

void put(QWidget* w, const TextSlot& slot, const QString& source, const QString& shown) {
  w->setProperty(slot.source, source);
  w->setProperty(slot.shown, shown);
  slot.set(w, shown);
}

// Re-translates one text: from its source while the widget still shows what we put there,
// otherwise the program replaced it and its current text becomes the source.
void retranslate(QWidget* w, const TextSlot& slot, const Language& language) {
  const QString current = slot.get(w);
  const QVariant shown = w->property(slot.shown);
  QString source;
  if (shown.isValid() && shown.toString() == current) {
    source = w->property(slot.source).toString();
  } else {
    source = current;
  }
  if (source.isEmpty() && !shown.isValid()) return;
  const QString text = language.text(source);
  if (shown.isValid() && text == current && w->property(slot.source).toString() == source) return;
  put(w, slot, source, text);
}

void retranslate_items(QComboBox* c, const Language& language) {
  for (int i = 0; i < c->count(); ++i) {
    const QString current = c->itemText(i);
    const QVariant shown = c->itemData(i, kShownRole);
    const QString source =
        shown.isValid() && shown.toString() == current ? c->itemData(i, kSourceRole).toString() : current;
    const QString text = language.text(source);
    c->setItemData(i, source, kSourceRole);
    c->setItemData(i, text, kShownRole);
    if (text != current) c->setItemText(i, text);
  }
}

void retranslate_tabs(QTabBar* bar, const Language& language) {
  for (int i = 0; i < bar->count(); ++i) {
    const QString current = bar->tabText(i);
    const QVariant data = bar->tabData(i);
    const QStringList pair = data.toStringList();  // {source, shown}
    const QString source = pair.size() == 2 && pair[1] == current ? pair[0] : current;
    const QString text = language.text(source);
    bar->setTabData(i, QStringList{source, text});
    if (text != current) bar->setTabText(i, text);
  }
}

void translate_widget(QWidget* w, const Language& language) {
  retranslate(w, kMainText, language);
  retranslate(w, kToolTip, language);
  if (qobject_cast<QLineEdit*>(w) != nullptr) retranslate(w, kPlaceholder, language);
  if (auto* c = qobject_cast<QComboBox*>(w)) retranslate_items(c, language);
  if (auto* bar = qobject_cast<QTabBar*>(w)) retranslate_tabs(bar, language);
}

}  // namespace

Language& Language::instance() {
  static Language* language = new Language;  // lives for the process, like the widgets it serves
  return *language;
}

bool Language::load(const QString& file_name) {
  const QString path = SkinResources::global().file_path(file_name);
  auto table = LanguageTable::load(path);
  if (!table) {
    debug_fmt("language file {} not loaded", path.toStdString());
    return false;
  }
  set_table(std::move(*table), file_name);
  return true;
}

void Language::set_table(LanguageTable table, const QString& file_name) {
  table_ = std::move(table);
  file_name_ = file_name;
  translate_all();
  emit changed();
}

QString Language::text(const QString& key) const { return table_.text(key).value_or(key); }

void Language::set_text(QWidget* widget, const QString& text_or_key) {
  if (widget != nullptr) put(widget, kMainText, text_or_key, text(text_or_key));
}

void Language::set_tooltip(QWidget* widget, const QString& text_or_key) {
  if (widget != nullptr) put(widget, kToolTip, text_or_key, text(text_or_key));
}

QString Language::text_key(const QWidget* widget) const {
  if (widget == nullptr) return {};
  const QVariant shown = widget->property(kMainText.shown);
  if (!shown.isValid() || shown.toString() != main_text(widget)) return {};
  return widget->property(kMainText.source).toString();
}

void Language::translate_tree(QWidget* root) {
  if (root == nullptr) return;
  translate_widget(root, *this);
  const QList<QWidget*> all = root->findChildren<QWidget*>();
  for (QWidget* w : all) translate_widget(w, *this);
}

void Language::translate_all() {
  if (QApplication::instance() == nullptr) return;
  const QList<QWidget*> tops = QApplication::topLevelWidgets();
  for (QWidget* top : tops) {
    translate_tree(top);
    // Some controls are painted by their container and miss their own text change.
    top->update();
  }
}

QString localized_text(QWidget* root, const QString& key) {
  Language& language = Language::instance();
  if (root != nullptr) {
    for (const char* name : {kTextTestLabel, kStrTestLabel}) {
      if (auto* label = root->findChild<QLabel*>(QString::fromLatin1(name))) {
        language.set_text(label, key);
        return label->text();
      }
    }
  }
  return language.text(key);
}

}  // namespace qxr::ui
