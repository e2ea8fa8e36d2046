#pragma once
// Command line of qxr470ctl: [--emulator DIR] [--json] COMMAND OPERANDS...
#include <cstdint>
#include <string>
#include <vector>

namespace qxr::ctl {

struct Args {
  std::string emulator_dir;
  bool json = false;
  std::string command;
  std::vector<std::string> operands;
};

enum class ParseOutcome { kRun, kHelp, kError };

ParseOutcome parse_args(int argc, char** argv, Args* args, std::string* error);
const char* usage_text();

// Decimal or 0x-prefixed hexadecimal, at most max. False on anything else.
bool parse_number(const std::string& text, uint32_t max, uint32_t* out);
// Hex bytes, with or without separators (space, ':', ',', '-'): "0a 0b", "0a0b", "0a:0b".
bool parse_hex_data(const std::string& text, std::vector<uint8_t>* out);
// A command byte: a number, or one of the command names ("CMD_READ_PARAMS", "read_params").
bool parse_command(const std::string& text, uint8_t* out);

}  // namespace qxr::ctl
