#pragma once
// The emulator program's command language, one command per line:
//   plug D | unplug D | press D K | release D K | settings-changed D [CODE] | profile D P
//   battery D LEVEL STATE | phone D TYPE | link D up|down | fault D MODE [ARG]
//   dump D MEMORY | status D | help | quit
// D is keyboard, mouse, pad or headset. Every command answers with "ok" or one line starting
// with "error: "; dump and status print their lines before the "ok".
#include <string>
#include <string_view>
#include <vector>

#include "emulator/emulator.h"

namespace qxr::emu {

struct ScriptOutcome {
  std::vector<std::string> lines;
  bool ok = true;
  bool quit = false;
};

class CommandScript {
 public:
  explicit CommandScript(Emulator& emulator) : emu_(emulator) {}
  ScriptOutcome run(std::string_view line);

 private:
  Emulator& emu_;
};

// "0000: 04 01 00 ..." lines of 16 bytes.
std::vector<std::string> hex_dump(const std::vector<uint8_t>& bytes);

}  // namespace qxr::emu
