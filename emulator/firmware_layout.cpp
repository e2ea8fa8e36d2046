#include "emulator/firmware_layout.h"

#include <algorithm>

namespace qxr::emu {

namespace {
struct MemoryName {
  Memory memory;
  std::string_view name;
};
constexpr MemoryName kMemoryNames[] = {
    {Memory::kInfo, "info"},          {Memory::kParams, "params"},
    {Memory::kKeys, "keys"},          {Memory::kLedMap, "ledmap"},
    {Memory::kKeyColours, "colours"}, {Memory::kMacros, "macros"},
    {Memory::kRecoil, "recoil"},      {Memory::kStatus, "status"},
    {Memory::kLightFrame, "light"},   {Memory::kHeadsetLeds, "leds"},
};
static_assert(std::size(kMemoryNames) == kMemoryCount);

// True when [address, address + length) lies inside one block of `size` bytes at p × stride.
bool inside_a_block(size_t address, size_t length, uint8_t profiles, size_t stride, size_t size) {
  for (size_t p = 0; p < profiles; ++p) {
    size_t start = p * stride;
    if (address >= start && address + length <= start + size) return true;
  }
  return false;
}
}  // namespace

std::string_view memory_name(Memory memory) {
  for (const MemoryName& row : kMemoryNames) {
    if (row.memory == memory) return row.name;
  }
  return "?";
}

bool parse_memory(std::string_view name, Memory* out) {
  for (const MemoryName& row : kMemoryNames) {
    if (row.name == name) {
      *out = row.memory;
      return true;
    }
  }
  return false;
}

const CommandEntry* find_command(uint8_t code) {
  for (const CommandEntry& entry : kCommandTable) {
    if (entry.code == code) return &entry;
  }
  return nullptr;
}

size_t ParamLayout::memory_size() const {
  if (profiles == 0) return 0;
  size_t last = profiles - 1u;
  return std::max(last * read_stride + read_size, last * write_stride + write_size);
}

bool ParamLayout::read_allowed(size_t address, size_t length) const {
  return inside_a_block(address, length, profiles, read_stride, read_size);
}

bool ParamLayout::write_allowed(size_t address, size_t length) const {
  return inside_a_block(address, length, profiles, write_stride, write_size);
}

bool FirmwareLayout::answers(uint8_t code) const {
  return std::find(commands.begin(), commands.end(), code) != commands.end();
}

const FirmwareLayout& firmware_layout(DeviceType type) {
  static const FirmwareLayout keyboard = make_keyboard_layout();
  static const FirmwareLayout mouse = make_mouse_layout();
  static const FirmwareLayout pad = make_pad_layout();
  static const FirmwareLayout headset = make_headset_layout();
  switch (type) {
    case DeviceType::Keyboard: return keyboard;
    case DeviceType::Mouse: return mouse;
    case DeviceType::Pad: return pad;
    case DeviceType::Headset: return headset;
  }
  return keyboard;
}

}  // namespace qxr::emu
