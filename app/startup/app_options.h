#pragma once
// The command line: qxr470 [--demo] [--minimized] | --send <message> [args] | --quit | --help | --version
#include <optional>
#include <string>
#include <vector>

namespace qxr::app {

struct AppOptions {
  bool demo = false;
  bool minimized = false;  // start in the tray, or minimised where there is no tray
  bool help = false;
  bool version = false;
  bool quit = false;
  std::optional<std::vector<std::string>> send;  // the message and its arguments
  std::vector<std::string> unknown;              // "--" options that are not ours
  std::string error;                             // non-empty: the command line is wrong

  // Answered without a display, before the application object exists.
  bool runs_without_window() const { return help || version || quit || send.has_value(); }
};

// args without the program name. Single-dash options (Qt's own: -platform, ...) are left to Qt.
// The command line is first read as given, to answer the options that need no display; what
// Qt leaves of it is read again once the application object exists, and only then are unknown
// options an error (Qt also takes its options with two dashes).
AppOptions parse_options(const std::vector<std::string>& args);

std::string usage_text();

}  // namespace qxr::app
