#pragma once
// The interface language: the languages "Language.config" offers, the one the user chose last
// (the settings file), and switching to another (texts of every window and the interface
// font). Each language's texts are the toolkit's file for it merged with the program's own
// ("app_" + the same file name).
#include <QString>

#include <optional>
#include <vector>

#include "app/startup/app_settings.h"
#include "ui/language_config.h"

namespace qxr::app {

inline constexpr int kNoLanguage = -1;
inline constexpr char kAppLanguagePrefix[] = "app_";
inline constexpr char kDefaultLanguageFile[] = "lan_cn.xml";

class LanguageChoice {
 public:
  LanguageChoice(AppSettings& settings, const QString& config_path);

  const std::vector<ui::LanguageEntry>& entries() const { return entries_; }
  int current() const { return current_; }

  // The stored choice's position in the list, if the settings name one of the list.
  std::optional<int> stored_index() const;
  // Without a stored choice: the entry for the system's language, else the first entry.
  int start_index() const;

  // Switches to entry index when it differs from the current one; stores the choice when
  // remember is set (the start's own pick is not a choice: it would be stored, synced to disk,
  // on every start). False for an index outside the list or texts that cannot be loaded.
  enum class Remember { No, Yes };
  bool apply(int index, Remember remember = Remember::Yes);

  // The toolkit's table for file merged with the program's own; nothing when neither loads.
  static bool load_texts(const QString& file);

 private:
  AppSettings& settings_;
  std::vector<ui::LanguageEntry> entries_;
  int current_ = kNoLanguage;
};

}  // namespace qxr::app
