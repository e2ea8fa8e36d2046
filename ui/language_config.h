#pragma once
// "Language.config" (the languages offered) and the interface font that goes with a language.
#include <QFont>
#include <QString>

#include <optional>
#include <span>
#include <vector>

namespace qxr::ui {

struct LanguageEntry {
  int id = 0;          // "Language_ID", the value kept in the user's settings
  QString name;        // "Language_name"
  QString file;        // "Language_file", a language file of the skin folder
  QString text;        // "Language_text", what the language list shows
};

// The entries of the array "Language", in file order. Empty for a missing or unreadable file;
// members missing from an entry read as 0 or empty.
std::vector<LanguageEntry> read_language_config(const QString& path);
std::vector<LanguageEntry> parse_language_config(const std::string& json_text);

// Position of the entry whose id is id, or nothing.
std::optional<int> language_index(std::span<const LanguageEntry> entries, int id);

// The face to rebuild the font table with when the language index changes from previous to
// index; nothing when the fonts stay as they are.
std::optional<QString> interface_font_for(int index, int previous);

struct FontSpec {
  int id;         // -1 is the default font
  int size;       // pixels at the 96-DPI interface scale
  bool bold;
  bool underline;
};
std::span<const FontSpec> font_table();

// The font of table entry id (the default entry for an unknown id) in face, sized for dpi.
QFont font_for(int id, const QString& face, int dpi);

}  // namespace qxr::ui
