#include "app/window/language_choice.h"

#include <QLocale>

#include "app/window/app_style.h"
#include "core/debug_line.h"
#include "ui/language.h"
#include "ui/language_table.h"
#include "ui/skin_resources.h"

namespace qxr::app {

LanguageChoice::LanguageChoice(AppSettings& settings, const QString& config_path)
    : settings_(settings), entries_(ui::read_language_config(config_path)) {}

std::optional<int> LanguageChoice::stored_index() const {
  std::optional<int> id = settings_.language_id();
  if (!id) return std::nullopt;
  return ui::language_index(entries_, *id);
}

int LanguageChoice::start_index() const {
  if (auto stored = stored_index()) return *stored;
  const QString system = QLocale::system().name();  // e.g. "en_US"
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name == system) return static_cast<int>(i);
  }
  const QString language = system.section(QLatin1Char('_'), 0, 0);
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name.section(QLatin1Char('_'), 0, 0) == language) return static_cast<int>(i);
  }
  return entries_.empty() ? kNoLanguage : 0;
}

bool LanguageChoice::load_texts(const QString& file) {
  const ui::SkinResources& skin = ui::SkinResources::global();
  std::optional<ui::LanguageTable> table = ui::LanguageTable::load(skin.file_path(file));
  std::optional<ui::LanguageTable> ours =
      ui::LanguageTable::load(skin.file_path(QString::fromLatin1(kAppLanguagePrefix) + file));
  if (!table && !ours) return false;
  if (!table) table = ui::LanguageTable();
  if (ours) {
    for (const QString& key : ours->keys()) {
      if (!table->contains(key)) table->insert(key, *ours->text(key));
    }
  }
  ui::Language::instance().set_table(std::move(*table), file);
  return true;
}

bool LanguageChoice::apply(int index, Remember remember) {
  if (index < 0 || index >= static_cast<int>(entries_.size())) return false;
  if (index == current_) return true;
  const ui::LanguageEntry& entry = entries_[static_cast<size_t>(index)];
  if (!load_texts(entry.file)) return false;
  if (std::optional<QString> face = ui::interface_font_for(index, current_)) set_interface_font(*face);
  current_ = index;
  if (remember == Remember::Yes && settings_.language_id() != entry.id && settings_.set_language_id(entry.id)) {
    debug_line("写成功！");
  }
  return true;
}

}  // namespace qxr::app
