#pragma once
// What the program asks the user: message boxes and file dialogs. Tests install their own
// answers so nothing modal ever waits for a hand.
#include <QString>
#include <QWidget>

namespace qxr::app {

// File kinds offered by the import and export dialogs.
inline constexpr char kProfileFilter[] = "Profile Files(*.json)";
inline constexpr char kMacroFilter[] = "Macro Files(*.mac)";
inline constexpr char kShootFilter[] = "Shoot Files(*.shoot)";

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  // text may be a language key.
  virtual void inform(QWidget* parent, const QString& text) = 0;
  virtual bool confirm(QWidget* parent, const QString& text) = 0;
  // A notice that needs no answer; shown without waiting for one.
  virtual void notify(QWidget* parent, const QString& text);
  // Empty when cancelled.
  virtual QString choose_open_file(QWidget* parent, const QString& filter) = 0;
  virtual QString choose_save_file(QWidget* parent, const QString& filter) = 0;
};

// The message box and the system's file dialogs, unless replaced.
UserPrompts& prompts();
// nullptr restores the default. The caller keeps ownership.
void set_prompts(UserPrompts* replacement);

}  // namespace qxr::app
