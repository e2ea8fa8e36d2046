#pragma once
// The user's settings file ($XDG_CONFIG_HOME/QXR470 GAMING KEYBOARD/settings.ini): the
// interface language as its "Language_ID".
#include <QString>

#include <optional>

namespace qxr::app {

inline constexpr char kLanguageSetting[] = "LANGUAGE";

class AppSettings {
 public:
  // The default location unless a file is given (tests).
  explicit AppSettings(QString file = {});
  const QString& file() const { return file_; }

  std::optional<int> language_id() const;
  // Written only when the settings folder exists or can be made; false otherwise.
  bool set_language_id(int id);

 private:
  QString file_;
};

QString default_settings_file();

}  // namespace qxr::app
