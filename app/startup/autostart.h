#pragma once
// Start with the desktop: the XDG autostart entry that starts the program with --minimized
// when the user logs in.
#include <QString>

namespace qxr::app {

inline constexpr char kAutostartFileName[] = "qxr470.desktop";
inline constexpr char kMinimizedOption[] = "--minimized";

// $XDG_CONFIG_HOME/autostart/qxr470.desktop
QString default_autostart_file();

// The entry for program (an absolute path), quoted as desktop entries want it.
QString autostart_entry(const QString& program);

// On when the entry exists and the desktop has not been told to skip it ("Hidden=true").
bool autostart_enabled(const QString& file);
// Writes or removes the entry; false when that failed.
bool set_autostart(const QString& file, bool on, const QString& program);

}  // namespace qxr::app
