#pragma once
// What the emulated chip offers: one row per property, with the endpoint flow it lives on, how
// its value is kept and checked, and which extra buffer it insists on.
#include <cstdint>
#include <span>
#include <string_view>

namespace qxr::audio {

enum class ChipValueKind {
  RangeMax,      // read only: dB range of the property's channel
  RangeMin,
  RangeStep,
  LevelDb,       // the channel's level in dB; written as an integer dB
  LevelScalar,   // the channel's level 0.0-1.0; written as a 32-bit float
  Switch,        // integer 0 or 1
  Selection,     // integer 0 .. CHIP_VOICE_COUNT-1
  Gain,          // integer dB within CHIP_EQ_GAIN_MIN .. CHIP_EQ_GAIN_MAX
  Value,         // any integer
};

enum class ChipChannel { None, Mic, Monitor };

enum class ChipExtraRule {
  None,            // the extra buffer is ignored
  MicChannel,      // first int must be EXTRA_MIC_CHANNEL
  MonitorChannel,  // first int must be EXTRA_MONITOR_CHANNEL
  SurroundSwitch,  // {SURROUND_HP_ENABLE_SELECTOR, SURROUND_ALL_CHANNELS, SURROUND_RESERVED}
};

inline constexpr int32_t CHIP_VOICE_COUNT = 4;
inline constexpr int32_t CHIP_EQ_GAIN_MIN = -24;
inline constexpr int32_t CHIP_EQ_GAIN_MAX = 24;

struct ChipProperty {
  std::string_view name;
  int flow;  // FLOW_PLAYBACK or FLOW_RECORDING
  ChipValueKind kind;
  ChipChannel channel;
  ChipExtraRule extra;
};

std::span<const ChipProperty> chip_properties();
const ChipProperty* find_chip_property(std::string_view name);

}  // namespace qxr::audio
