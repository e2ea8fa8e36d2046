#include "tools/qxr470ctl/args.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "protocol/command_report.h"

namespace qxr::ctl {

namespace {

struct CommandName {
  const char* name;  // without the "CMD_" prefix, lower case
  uint8_t code;
};

using namespace qxr::protocol;
constexpr CommandName kCommandNames[] = {
    {"begin", CMD_BEGIN},
    {"end", CMD_END},
    {"read_info", CMD_READ_INFO},
    {"read_params", CMD_READ_PARAMS},
    {"write_params", CMD_WRITE_PARAMS},
    {"read_keys", CMD_READ_KEYS},
    {"write_keys", CMD_WRITE_KEYS},
    {"write_key_colours", CMD_WRITE_KEY_COLOURS},
    {"light_stream", CMD_LIGHT_STREAM},
    {"write_macros", CMD_WRITE_MACROS},
    {"write_recoil", CMD_WRITE_RECOIL},
    {"read_status", CMD_READ_STATUS},
    {"read_led_map", CMD_READ_LED_MAP},
    {"host_lighting", CMD_HOST_LIGHTING},
    {"link_query", CMD_LINK_QUERY},
};

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

const char* usage_text() {
  return "usage: qxr470ctl [--emulator DIR] [--json] COMMAND\n"
         "\n"
         "commands:\n"
         "  list                          supported interfaces present and the slots they claim\n"
         "  info KIND                     the device information block, decoded\n"
         "  read-params KIND OFFSET LENGTH\n"
         "                                LENGTH bytes of parameter memory at OFFSET\n"
         "  exchange KIND CMD [DATA-HEX]  one raw command and its reply; DATA-HEX fills the\n"
         "                                report from byte 4 (length, offset low, offset high,\n"
         "                                status, data...)\n"
         "  device-table                  the device table of the running qxr470, decoded\n"
         "\n"
         "KIND is keyboard, mouse, pad or headset. Numbers are decimal or 0x-hex; CMD may also be\n"
         "a command name such as read_params.\n"
         "\n"
         "options:\n"
         "  --emulator DIR   also look for emulated devices in DIR\n"
         "  --json           machine-readable output\n"
         "  -h, --help       this text\n";
}

ParseOutcome parse_args(int argc, char** argv, Args* args, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-h" || a == "--help") return ParseOutcome::kHelp;
    if (a == "--json") {
      args->json = true;
    } else if (a == "--emulator" || a.rfind("--emulator=", 0) == 0) {
      if (a == "--emulator") {
        if (i + 1 >= argc) {
          *error = "--emulator needs a folder";
          return ParseOutcome::kError;
        }
        args->emulator_dir = argv[++i];
      } else {
        args->emulator_dir = a.substr(std::strlen("--emulator="));
      }
    } else if (a.size() > 1 && a[0] == '-' && args->command.empty()) {
      *error = "unknown option " + a;
      return ParseOutcome::kError;
    } else if (args->command.empty()) {
      args->command = a;
    } else {
      args->operands.push_back(a);
    }
  }
  if (args->command.empty()) {
    *error = "no command given";
    return ParseOutcome::kError;
  }
  return ParseOutcome::kRun;
}

bool parse_number(const std::string& text, uint32_t max, uint32_t* out) {
  if (text.empty() || text[0] == '-' || text[0] == '+' || std::isspace(static_cast<unsigned char>(text[0]))) {
    return false;
  }
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  errno = 0;
  char* end = nullptr;
  unsigned long v = std::strtoul(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
  if (errno != 0 || end == nullptr || *end != '\0' || end == text.c_str() + (hex ? 2 : 0) || v > max) return false;
  *out = static_cast<uint32_t>(v);
  return true;
}

bool parse_hex_data(const std::string& text, std::vector<uint8_t>* out) {
  std::vector<uint8_t> bytes;
  int high = -1;
  for (char c : text) {
    if (c == ' ' || c == ':' || c == ',' || c == '-' || c == '\t') {
      if (high >= 0) return false;  // a lone digit before a separator
      continue;
    }
    int d = hex_digit(c);
    if (d < 0) return false;
    if (high < 0) {
      high = d;
    } else {
      bytes.push_back(static_cast<uint8_t>(high << 4 | d));
      high = -1;
    }
  }
  if (high >= 0) return false;
  *out = std::move(bytes);
  return true;
}

bool parse_command(const std::string& text, uint8_t* out) {
  uint32_t v = 0;
  if (parse_number(text, 0xFF, &v)) {
    *out = static_cast<uint8_t>(v);
    return true;
  }
  std::string name;
  for (char c : text) name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  if (name.rfind("cmd_", 0) == 0) name.erase(0, 4);
  for (const CommandName& c : kCommandNames) {
    if (name == c.name) {
      *out = c.code;
      return true;
    }
  }
  return false;
}

}  // namespace qxr::ctl
