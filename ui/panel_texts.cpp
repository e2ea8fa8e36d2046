#include "ui/panel_texts.h"

#include <QObject>
#include <QSet>

#include "ui/language.h"
#include "ui/language_table.h"
#include "ui/skin_resources.h"

namespace qxr::ui {

bool merge_panel_texts(const QString& prefix) {
  Language& language = Language::instance();
  const QString file = language.file_name();
  if (file.isEmpty()) return false;
  std::optional<LanguageTable> ours = LanguageTable::load(SkinResources::global().file_path(prefix + file));
  if (!ours) return false;
  bool missing = false;
  for (const QString& key : ours->keys()) missing = missing || !language.table().contains(key);
  if (!missing) return false;
  LanguageTable merged = language.table();
  merged.merge_missing(*ours);
  // Emits changed() again; the texts are then present and nothing more is merged.
  language.set_table(std::move(merged), file);
  return true;
}

void install_panel_texts(const QString& prefix) {
  static QSet<QString> installed;
  if (!installed.contains(prefix)) {
    installed.insert(prefix);
    QObject::connect(&Language::instance(), &Language::changed, &Language::instance(),
                     [prefix] { merge_panel_texts(prefix); });
  }
  merge_panel_texts(prefix);
}

}  // namespace qxr::ui
