#pragma once
// The command line: qxr470 [--demo] [--minimized] | --send <message> [args] | --help | --version
#include <optional>
#include <string>
#include <vector>

namespace qxr::app {

struct AppOptions {
  bool demo = false;
  bool minimized = false;  // start in the tray, or minimised where there is no tray
  bool help = false;
  bool version = false;
  std::optional<std::vector<std::string>> send;  // the message and its arguments
  std::string error;                             // non-empty: the command line is wrong
};

// args without the program name. Options Qt itself understands (-platform, ...) are left to Qt
// and ignored here.
AppOptions parse_options(const std::vector<std::string>& args);

std::string usage_text();

}  // namespace qxr::app
