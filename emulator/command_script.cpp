#include "emulator/command_script.h"

#include <fmt/format.h>

#include <charconv>
#include <functional>
#include <optional>

#include "protocol/command_report.h"

namespace qxr::emu {

namespace {
constexpr size_t kDumpWidth = 16;
constexpr uint32_t kMaxFaultArg = 3600 * 1000;

std::vector<std::string_view> split(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// Decimal, or hexadecimal with 0x.
std::optional<uint32_t> parse_number(std::string_view text, uint32_t max) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.remove_prefix(2);
    base = 16;
  }
  uint32_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || value > max) return std::nullopt;
  return value;
}

ScriptOutcome error(std::string text) {
  ScriptOutcome out;
  out.ok = false;
  out.lines.push_back("error: " + text);
  return out;
}

ScriptOutcome done(std::vector<std::string> lines = {}) {
  ScriptOutcome out;
  out.lines = std::move(lines);
  out.lines.push_back("ok");
  return out;
}

using Args = std::vector<std::string_view>;
using Handler = std::function<ScriptOutcome(Emulator&, DeviceType, const Args&)>;

struct CommandRow {
  std::string_view name;
  size_t min_args;  // after the device
  size_t max_args;
  std::string_view usage;
  Handler run;
};

ScriptOutcome key_event(Emulator& emu, DeviceType d, const Args& a, bool press) {
  auto k = parse_number(a[0], 0xFF);
  if (!k) return error(fmt::format("key position must be 0-255, not {}", a[0]));
  bool sent = press ? emu.press_key(d, static_cast<uint8_t>(*k))
                    : emu.release_key(d, static_cast<uint8_t>(*k));
  if (!sent) return error(fmt::format("{} is not plugged", device_type_name(d)));
  return done();
}

std::vector<std::string> counts_lines(const FirmwareCounters& c) {
  std::vector<std::string> lines;
  for (const CommandEntry& entry : kCommandTable) {
    lines.push_back(fmt::format("command 0x{:02x}: {}", entry.code, c.per_command[entry.code]));
  }
  lines.push_back(fmt::format("requests: {}", c.requests));
  lines.push_back(fmt::format("refused: {}", c.refused));
  lines.push_back(fmt::format("bad checksum: {}", c.bad_checksum));
  lines.push_back(fmt::format("unbracketed writes: {}", c.unbracketed_writes));
  lines.push_back(fmt::format("light frames: {}", c.light_frames));
  lines.push_back(fmt::format("led reports: {} ({} refused)", c.led_reports, c.led_reports_refused));
  return lines;
}

const std::vector<CommandRow>& command_rows() {
  static const std::vector<CommandRow> rows = {
      {"plug", 0, 0, "plug D",
       [](Emulator& emu, DeviceType d, const Args&) {
         if (emu.plugged(d)) return error(fmt::format("{} is already plugged", device_type_name(d)));
         if (!emu.plug(d)) return error(fmt::format("cannot plug {}", device_type_name(d)));
         return done();
       }},
      {"unplug", 0, 0, "unplug D",
       [](Emulator& emu, DeviceType d, const Args&) {
         if (!emu.unplug(d)) return error(fmt::format("{} is not plugged", device_type_name(d)));
         return done();
       }},
      {"press", 1, 1, "press D K",
       [](Emulator& emu, DeviceType d, const Args& a) { return key_event(emu, d, a, true); }},
      {"release", 1, 1, "release D K",
       [](Emulator& emu, DeviceType d, const Args& a) { return key_event(emu, d, a, false); }},
      {"settings-changed", 0, 1, "settings-changed D [CODE]",
       [](Emulator& emu, DeviceType d, const Args& a) {
         uint32_t code = kEventSettingsChanged;
         if (!a.empty()) {
           auto c = parse_number(a[0], 0xFFFF);
           if (!c || (*c != kEventSettingsChanged && *c != kEventSettingsChangedAlt)) {
             return error("settings-changed code must be 0x0401 or 0x0402");
           }
           code = *c;
         }
         if (!emu.settings_changed(d, static_cast<uint16_t>(code))) {
           return error(fmt::format("{} is not plugged", device_type_name(d)));
         }
         return done();
       }},
      {"profile", 1, 1, "profile D P",
       [](Emulator& emu, DeviceType d, const Args& a) {
         auto p = parse_number(a[0], 0xFF);
         if (!p) return error(fmt::format("bad profile number {}", a[0]));
         if (!emu.set_active_profile(d, static_cast<uint8_t>(*p), emu.plugged(d))) {
           return error(fmt::format("{} has no on-board profile {}", device_type_name(d), *p));
         }
         return done();
       }},
      {"battery", 2, 2, "battery D LEVEL STATE",
       [](Emulator& emu, DeviceType d, const Args& a) {
         auto level = parse_number(a[0], 100);
         auto state = parse_number(a[1], 0xFF);
         if (!level) return error(fmt::format("battery level must be 0-100, not {}", a[0]));
         if (!state) return error(fmt::format("bad charging state {}", a[1]));
         emu.set_battery(d, static_cast<uint8_t>(*level), static_cast<uint8_t>(*state));
         return done();
       }},
      {"phone", 1, 1, "phone D TYPE",
       [](Emulator& emu, DeviceType d, const Args& a) {
         auto type = parse_number(a[0], 0xFF);
         if (!type) return error(fmt::format("bad phone type {}", a[0]));
         emu.set_phone_type(d, static_cast<uint8_t>(*type));
         return done();
       }},
      {"link", 1, 1, "link D up|down",
       [](Emulator& emu, DeviceType d, const Args& a) {
         if (a[0] != "up" && a[0] != "down") return error("link state must be up or down");
         emu.set_linked(d, a[0] == "up");
         return done();
       }},
      {"fault", 1, 2, "fault D MODE [ARG]",
       [](Emulator& emu, DeviceType d, const Args& a) {
         auto mode = parse_fault_mode(a[0]);
         if (!mode) {
           return error(fmt::format(
               "unknown fault {} (none, no-reply, late, wrong-echo, wrong-echo-once, status-ff, "
               "status-fe, unplug-after, stale)",
               a[0]));
         }
         uint32_t arg = 0;
         if (a.size() > 1) {
           auto n = parse_number(a[1], kMaxFaultArg);
           if (!n) return error(fmt::format("bad fault argument {}", a[1]));
           arg = *n;
         } else if (*mode == FaultMode::kLateReply) {
           return error("late needs the delay in milliseconds");
         }
         emu.set_fault(d, *mode, arg);
         return done();
       }},
      {"dump", 1, 1, "dump D MEMORY",
       [](Emulator& emu, DeviceType d, const Args& a) {
         if (a[0] == "counts") return done(counts_lines(emu.counters(d)));
         Memory memory;
         if (!parse_memory(a[0], &memory)) {
           return error(fmt::format(
               "unknown memory {} (info, params, keys, ledmap, colours, macros, recoil, status, "
               "light, leds, counts)",
               a[0]));
         }
         return done(hex_dump(emu.memory(d, memory)));
       }},
      {"status", 0, 0, "status D",
       [](Emulator& emu, DeviceType d, const Args&) {
         return done({fmt::format("{}: {}, {} connection(s), active profile {}", device_type_name(d),
                                  emu.plugged(d) ? "plugged" : "unplugged",
                                  emu.connection_count(d), emu.active_profile(d))});
       }},
  };
  return rows;
}

const CommandRow* find_row(std::string_view name) {
  for (const CommandRow& row : command_rows()) {
    if (row.name == name) return &row;
  }
  return nullptr;
}
}  // namespace

std::vector<std::string> hex_dump(const std::vector<uint8_t>& bytes) {
  std::vector<std::string> lines;
  for (size_t at = 0; at < bytes.size(); at += kDumpWidth) {
    std::string line = fmt::format("{:04x}:", at);
    for (size_t i = at; i < bytes.size() && i < at + kDumpWidth; ++i) {
      line += fmt::format(" {:02x}", bytes[i]);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

ScriptOutcome CommandScript::run(std::string_view line) {
  Args words = split(line);
  ScriptOutcome out;
  if (words.empty() || words[0].front() == '#') return out;  // blank lines and comments
  if (words[0] == "quit") {
    if (words.size() != 1) return error("usage: quit");
    out.quit = true;
    out.lines.push_back("ok");
    return out;
  }
  if (words[0] == "help") {
    std::vector<std::string> lines;
    for (const CommandRow& row : command_rows()) lines.push_back(std::string(row.usage));
    lines.push_back("quit");
    return done(std::move(lines));
  }
  const CommandRow* row = find_row(words[0]);
  if (row == nullptr) return error(fmt::format("unknown command {} (try help)", words[0]));
  if (words.size() < 2) return error(fmt::format("usage: {}", row->usage));
  auto type = parse_device_type(words[1]);
  if (!type) {
    return error(fmt::format("unknown device {} (keyboard, mouse, pad, headset)", words[1]));
  }
  Args args(words.begin() + 2, words.end());
  if (args.size() < row->min_args || args.size() > row->max_args) {
    return error(fmt::format("usage: {}", row->usage));
  }
  return row->run(emu_, *type, args);
}

}  // namespace qxr::emu
