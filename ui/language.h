#pragma once
// The current interface language. Every text a skin or the program puts on a widget through
// this class keeps its source (a language key or a plain text) on the widget, so switching the
// language re-translates every window at once. A text that is not a key shows as it is.
#include <QObject>
#include <QString>
#include <QWidget>

#include "ui/language_table.h"

namespace qxr::ui {

// Names of the hidden labels through which pages look texts up.
inline constexpr const char* kTextTestLabel = "text_test";
inline constexpr const char* kStrTestLabel = "str_test";

class Language : public QObject {
  Q_OBJECT
 public:
  static Language& instance();

  // Loads a language file of the skin folder (e.g. "lan_en.xml") and makes it current. On
  // failure the current language stays and false is returned.
  bool load(const QString& file_name);
  // Makes table current and re-translates every top-level widget.
  void set_table(LanguageTable table, const QString& file_name = {});
  const LanguageTable& table() const { return table_; }
  const QString& file_name() const { return file_name_; }

  // The text of key in the current language, or key itself when it has none.
  QString text(const QString& key) const;

  // Puts text_or_key on the widget's main text (label, button, group box title, window title)
  // and remembers it as the source.
  void set_text(QWidget* widget, const QString& text_or_key);
  void set_tooltip(QWidget* widget, const QString& text_or_key);
  // The source last put on the widget's main text (the key), empty when none.
  QString text_key(const QWidget* widget) const;

  // Translates root and everything below it. Texts already translated are re-translated from
  // their sources; a text the program has since replaced directly becomes the new source.
  void translate_tree(QWidget* root);
  void translate_all();

 signals:
  void changed();

 private:
  Language() = default;
  LanguageTable table_;
  QString file_name_;
};

// Text lookup through a hidden label: the key is put on the label "text_test" (or "str_test")
// below root and its text read back. Without such a label the table answers directly.
QString localized_text(QWidget* root, const QString& key);

}  // namespace qxr::ui
