#include "editors/lighting/light_edits.h"

#include <algorithm>

#include "editors/lighting/light_control_names.h"

namespace qxr::editors {
namespace {

using enum LightAction;
constexpr ui::Match X = ui::Match::Exact;
constexpr ui::Match N = ui::Match::Indexed;

constexpr LightNotificationRow kRows[] = {
    {"itemselect", names::kModeCombo, X, SelectMode},
    {"valuechanged", names::kBrightnessSlider, X, Brightness},
    {"valuechanged", names::kSpeedSlider, X, Speed},
    {"selectchanged", names::kDirectionFirst, X, DirectionFirst},
    {"selectchanged", names::kDirectionSecond, X, DirectionSecond},
    {"selectchanged", names::kSevenColourCheck, X, SevenColour},
    {"killfocus", names::kRedEdit, X, EditRed},
    {"killfocus", names::kGreenEdit, X, EditGreen},
    {"killfocus", names::kBlueEdit, X, EditBlue},
    {"colorchanged", names::kPalette, X, PaletteColour},
    {"click", names::kPresetPrefix, N, PresetColour},
    {"itemselect", names::kSubModeCombo, X, SubMode},
    {"itemselect", names::kCustomCombo, X, CustomGroup},
    {"click", names::kPaintLit, X, PaintLit},
    {"click", names::kPaintOff, X, PaintOff},
    {"click", names::kSameMode, X, SameMode},
    {"itemselect", names::kAudioModeCombo, X, AudioMode},
    {"selectchanged", names::kAudioSevenColourCheck, X, AudioSevenColour},
    {"selectchanged", names::kAudioBackgroundCheck, X, AudioBackground},
    {"selectchanged", names::kAudioForegroundCheck, X, AudioForeground},
    {"killfocus", names::kAudioRedEdit, X, AudioEditRed},
    {"killfocus", names::kAudioGreenEdit, X, AudioEditGreen},
    {"killfocus", names::kAudioBlueEdit, X, AudioEditBlue},
    {"click", names::kAudioPresetPrefix, N, AudioPreset},
    {"colorchanged", names::kAudioPalette, X, AudioPalette},
};

uint8_t level(int value) { return static_cast<uint8_t>(std::clamp(value, 0, kMaxLevel)); }
uint8_t byte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, kMaxColourValue)); }

bool foreground_shown(const AudioLightInfo& a) { return a.color_type_flags == kShowForeground; }

}  // namespace

std::span<const LightNotificationRow> light_notification_table() { return kRows; }

std::optional<LightRoute> find_light_route(std::string_view type, std::string_view sender_name) {
  const LightNotificationRow* row = ui::find_row<LightNotificationRow>(kRows, type, sender_name);
  if (row == nullptr) return std::nullopt;
  if (row->match == ui::Match::Exact) return LightRoute{row->action};
  return LightRoute{row->action, split_indexed_name(sender_name)->index};
}

bool is_audio_action(LightAction action) {
  switch (action) {
    case AudioMode:
    case AudioSevenColour:
    case AudioBackground:
    case AudioForeground:
    case AudioEditRed:
    case AudioEditGreen:
    case AudioEditBlue:
    case AudioPreset:
    case AudioPalette:
      return true;
    default:
      return false;
  }
}

std::optional<LightInfo> apply_light_change(const LightInfo& current, const LightChange& change) {
  LightInfo l = current;
  switch (change.action) {
    case SelectMode:
      l.select_item = byte(change.value);
      break;
    case Brightness:
      l.light = level(change.value);
      break;
    case Speed:
      l.speed = level(change.value);
      break;
    case DirectionFirst:
      l.fx = 1;
      break;
    case DirectionSecond:
      l.fx = 0;
      break;
    case SevenColour:
      l.multi_color = change.value != 0 ? 1 : 0;
      break;
    case EditRed:
      l.red = byte(change.value);
      l.multi_color = 0;
      break;
    case EditGreen:
      l.green = byte(change.value);
      l.multi_color = 0;
      break;
    case EditBlue:
      l.blue = byte(change.value);
      l.multi_color = 0;
      break;
    case PaletteColour:
    case PresetColour:
      set_colour(l, change.colour);
      l.multi_color = 0;
      break;
    case SubMode:
      l.zzcc_led_mode = byte(change.value);
      break;
    case CustomGroup:
      l.custom_group = byte(change.value);
      break;
    default:
      return std::nullopt;
  }
  return l;
}

ClampedColour clamp_colour_text(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      value = 0;
      break;
    }
    // Saturates: a long run of digits is simply above the top.
    value = std::min(value * 10 + (c - '0'), kMaxColourValue + 1);
  }
  ClampedColour out;
  out.value = byte(value);
  out.text = std::to_string(out.value);
  return out;
}

bool audio_colours_enabled(int audio_mode) { return audio_mode != kAudioModeWithoutColours; }

Rgb shown_audio_colour(const AudioLightInfo& a) {
  return foreground_shown(a) ? Rgb{a.fg_red, a.fg_green, a.fg_blue} : Rgb{a.bk_red, a.bk_green, a.bk_blue};
}

AudioLightInfo with_shown_audio_colour(const AudioLightInfo& audio, Rgb c) {
  AudioLightInfo a = audio;
  if (foreground_shown(a)) {
    a.fg_red = c.red;
    a.fg_green = c.green;
    a.fg_blue = c.blue;
  } else {
    a.bk_red = c.red;
    a.bk_green = c.green;
    a.bk_blue = c.blue;
  }
  return a;
}

std::optional<AudioLightInfo> apply_audio_change(const AudioLightInfo& current, const LightChange& change) {
  Rgb shown = shown_audio_colour(current);
  bool clears_seven = false;
  switch (change.action) {
    case AudioEditRed:
      shown.red = byte(change.value);
      clears_seven = true;
      break;
    case AudioEditGreen:
      shown.green = byte(change.value);
      clears_seven = true;
      break;
    case AudioEditBlue:
      shown.blue = byte(change.value);
      clears_seven = true;
      break;
    case AudioPreset:
      shown = change.colour;
      clears_seven = true;
      break;
    case AudioPalette:
      shown = change.colour;
      break;
    default:
      return std::nullopt;
  }
  AudioLightInfo a = with_shown_audio_colour(current, shown);
  // Only the foreground can run through the seven colours; picking one of its colours ends that.
  if (clears_seven && foreground_shown(a)) a.seven_color_flags = 0;
  return a;
}

AudioLightInfo read_audio_record(const AudioLightInfo& stored, const AudioControls& c, std::optional<Rgb> swatch) {
  AudioLightInfo a = stored;
  a.audio_mode = byte(c.mode);
  a.seven_color_flags = c.seven_colour ? 1 : 0;
  const bool background = c.background_selected &&
                          (stored.color_type_flags == kShowForeground || !c.foreground_selected);
  a.color_type_flags = background ? kShowBackground : kShowForeground;
  if (swatch) a = with_shown_audio_colour(a, *swatch);
  return a;
}

ColourPair colour_pair_of(const AudioLightInfo& a) {
  ColourPair p;
  p.first = uint32_t{a.audio_mode} | uint32_t{a.bk_red} << 8 | uint32_t{a.bk_green} << 16 | uint32_t{a.bk_blue} << 24;
  p.second = uint32_t{a.fg_red} | uint32_t{a.fg_green} << 8 | uint32_t{a.fg_blue} << 16 |
             uint32_t{a.seven_color_flags} << 24;
  p.selector = a.color_type_flags;
  return p;
}

AudioLightInfo audio_of_colour_pair(const ColourPair& p) {
  AudioLightInfo a;
  a.audio_mode = static_cast<uint8_t>(p.first);
  a.bk_red = static_cast<uint8_t>(p.first >> 8);
  a.bk_green = static_cast<uint8_t>(p.first >> 16);
  a.bk_blue = static_cast<uint8_t>(p.first >> 24);
  a.fg_red = static_cast<uint8_t>(p.second);
  a.fg_green = static_cast<uint8_t>(p.second >> 8);
  a.fg_blue = static_cast<uint8_t>(p.second >> 16);
  a.seven_color_flags = (p.second >> 24) != 0 ? 1 : 0;
  a.color_type_flags = p.selector;
  return a;
}

}  // namespace qxr::editors
