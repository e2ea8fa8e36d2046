#include "app/startup/app_options.h"

namespace qxr::app {

AppOptions parse_options(const std::vector<std::string>& args) {
  AppOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--demo") {
      o.demo = true;
    } else if (a == "--minimized") {
      o.minimized = true;
    } else if (a == "--help" || a == "-h") {
      o.help = true;
    } else if (a == "--version") {
      o.version = true;
    } else if (a == "--quit") {
      o.quit = true;
    } else if (a == "--send") {
      if (i + 1 >= args.size()) {
        o.error = "--send needs a message";
        return o;
      }
      o.send = std::vector<std::string>(args.begin() + static_cast<long>(i) + 1, args.end());
      break;
    } else if (a.rfind("--", 0) == 0) {
      o.unknown.push_back(a);
    }
  }
  if (o.send && (o.demo || o.minimized)) o.error = "--send is used alone";
  if (o.quit && (o.demo || o.send || o.minimized)) o.error = "--quit goes alone";
  return o;
}

std::string usage_text() {
  return "usage: qxr470 [--demo] [--minimized]\n"
         "       qxr470 --send <message> [args]\n"
         "       qxr470 --quit\n"
         "\n"
         "  --demo     run on built-in emulated devices (keyboard, mouse, mouse pad, headset)\n"
         "             in a private temporary folder that is removed at exit\n"
         "  --minimized start in the tray (minimised where the desktop has no tray);\n"
         "             the autostart entry of \"start with the desktop\" uses it\n"
         "  --send     send one message to the running program and exit:\n"
         "             identity | light-control 1 <0|1> | main-action <n> | quit |\n"
         "             Game_Start|Game_End|Game_Kill|Game_Death <group> <mode> | data <id> <base64>\n"
         "             (docs/local-socket.md)\n"
         "  --quit     end the running program and wait until it has ended\n"
         "  --version  print the version\n"
         "  --help     this text\n";
}

}  // namespace qxr::app
