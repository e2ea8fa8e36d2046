#pragma once
// What each notification of the lighting panel does, as data, and the record changes it
// makes. The panel reads the value from its control; these functions say which byte of the
// lighting record (or of the music record) it changes.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "editors/lighting/light_words.h"
#include "profile/records.h"
#include "ui/route_rows.h"

namespace qxr::editors {

enum class LightAction {
  SelectMode,        // byte 0
  Brightness,        // byte 1
  Speed,             // byte 2
  DirectionFirst,    // byte 3 = 1
  DirectionSecond,   // byte 3 = 0
  SevenColour,       // byte 4
  EditRed,           // byte 5, seven-colour off
  EditGreen,         // byte 6, seven-colour off
  EditBlue,          // byte 7, seven-colour off
  PaletteColour,     // bytes 5-7, seven-colour off
  PresetColour,      // bytes 5-7 from preset n, seven-colour off
  SubMode,           // byte 11 (keyboard)
  CustomGroup,       // byte 12 (keyboard)
  PaintLit,          // selected keys take the current colour (keyboard, custom mode)
  PaintOff,          // selected keys go dark (keyboard, custom mode)
  SameMode,          // same-mode copy
  AudioMode,         // music record: mode and seven-colour from the panel, swatch colour kept
  AudioSevenColour,  // the same
  AudioBackground,   // music record: the background colour is shown
  AudioForeground,   // music record: the foreground colour is shown
  AudioEditRed,      // one byte of the shown music colour
  AudioEditGreen,
  AudioEditBlue,
  AudioPreset,   // shown music colour from preset n
  AudioPalette,  // shown music colour from the palette
};

struct LightNotificationRow {
  std::string_view type;  // notification type
  std::string_view name;  // control name, or for Indexed the prefix before the decimal index
  ui::Match match;
  LightAction action;
};

// Every notification the lighting editor takes; the main window routes these to its panel.
std::span<const LightNotificationRow> light_notification_table();

struct LightRoute {
  LightAction action;
  int index = -1;  // the decimal index of an indexed name
  bool operator==(const LightRoute&) const = default;
};
std::optional<LightRoute> find_light_route(std::string_view type, std::string_view sender_name);

bool is_audio_action(LightAction action);

// One change read from the panel: value for the byte actions, colour for the colour actions.
struct LightChange {
  LightAction action;
  int value = 0;
  Rgb colour{};
};

// Highest brightness and speed level.
inline constexpr int kMaxLevel = 4;

// The record with the change made; nothing for actions that do not change it.
std::optional<LightInfo> apply_light_change(const LightInfo& current, const LightChange& change);

// --- colour edits ---

inline constexpr int kMaxColourValue = 255;

struct ClampedColour {
  uint8_t value = 0;
  std::string text;  // what the edit shows afterwards
  bool operator==(const ClampedColour&) const = default;
};
// Empty text is 0, anything above 255 is 255; text that is not a number reads as 0.
ClampedColour clamp_colour_text(std::string_view text);

// --- music record ---

// Which music colour the panel shows (byte 8 of the record).
inline constexpr uint8_t kShowBackground = 0;
inline constexpr uint8_t kShowForeground = 1;
// Music mode whose colours cannot be chosen.
inline constexpr int kAudioModeWithoutColours = 3;

bool audio_colours_enabled(int audio_mode);

Rgb shown_audio_colour(const AudioLightInfo& audio);
// The record with the shown colour replaced.
AudioLightInfo with_shown_audio_colour(const AudioLightInfo& audio, Rgb colour);

// The record with the change made; nothing for actions that do not change it this way.
std::optional<AudioLightInfo> apply_audio_change(const AudioLightInfo& current, const LightChange& change);

// What the audio controls hold when the panel gives its record back.
struct AudioControls {
  int mode = 0;
  bool seven_colour = false;
  bool background_selected = false;
  bool foreground_selected = false;
};
// The panel's record taken from the controls over stored; with swatch, the swatch colour
// becomes the colour the record now shows.
AudioLightInfo read_audio_record(const AudioLightInfo& stored, const AudioControls& controls,
                                 std::optional<Rgb> swatch);

// The music record as the device's colour pair: first = mode | background << 8,
// second = foreground | seven-colour << 24, selector = which colour is shown.
struct ColourPair {
  uint32_t first = 0;
  uint32_t second = 0;
  uint8_t selector = 0;
  bool operator==(const ColourPair&) const = default;
};
ColourPair colour_pair_of(const AudioLightInfo& audio);
AudioLightInfo audio_of_colour_pair(const ColourPair& pair);

}  // namespace qxr::editors
