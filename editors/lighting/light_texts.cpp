#include "editors/lighting/light_texts.h"

#include <QObject>

#include "ui/language.h"
#include "ui/language_table.h"
#include "ui/skin_resources.h"

namespace qxr::editors {

bool merge_light_texts() {
  ui::Language& language = ui::Language::instance();
  const QString file = language.file_name();
  if (file.isEmpty()) return false;
  std::optional<ui::LanguageTable> ours =
      ui::LanguageTable::load(ui::SkinResources::global().file_path(QString::fromLatin1(kLightTextPrefix) + file));
  if (!ours) return false;
  bool missing = false;
  for (const QString& key : ours->keys()) missing = missing || !language.table().contains(key);
  if (!missing) return false;
  ui::LanguageTable merged = language.table();
  merged.merge_missing(*ours);
  // Emits changed() again; the texts are then present and nothing more is merged.
  language.set_table(std::move(merged), file);
  return true;
}

void install_light_texts() {
  static bool installed = false;
  if (!installed) {
    installed = true;
    QObject::connect(&ui::Language::instance(), &ui::Language::changed, &ui::Language::instance(),
                     [] { merge_light_texts(); });
  }
  merge_light_texts();
}

}  // namespace qxr::editors
