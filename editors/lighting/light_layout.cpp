#include "editors/lighting/light_layout.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>

namespace qxr::editors {
namespace {

// Parameter groups, one bit each, in the order of the tables' columns.
constexpr uint8_t E = 1 << 0;   // lighteffect_layout
constexpr uint8_t C7 = 1 << 1;  // deng_7color_check
constexpr uint8_t C = 1 << 2;   // deng_color_layout
constexpr uint8_t P = 1 << 3;   // colorpallet_layout
constexpr uint8_t B = 1 << 4;   // deng_light_layout
constexpr uint8_t S = 1 << 5;   // deng_speed_layout
constexpr uint8_t D = 1 << 6;   // deng_fx_layout
constexpr uint8_t kAllGroups = E | C7 | C | P | B | S | D;

constexpr std::array<std::string_view, 7> kGroupControls = {
    kEffectLayout, kSevenColourCheck, kColourLayout, kPaletteLayout, kBrightnessLayout, kSpeedLayout, kDirectionLayout};

// What a row does besides its groups.
constexpr uint8_t kColourGroupOff = 1 << 0;  // light_color_layout disabled
constexpr uint8_t kRgbOff = 1 << 1;          // deng_rgb_layout disabled
constexpr uint8_t kSpeedHidden = 1 << 2;     // deng_speed_layout hidden
constexpr uint8_t kSubModeShown = 1 << 3;    // light_combo_ZZCCmodeSelectLayout shown
constexpr uint8_t kCustomShown = 1 << 4;     // lightcustom_layout shown
constexpr uint8_t kAudioShown = 1 << 5;      // audio mode shown, colour tab on the audio page
constexpr uint8_t kSame = 1 << 6;            // deng_same_mode offered

constexpr size_t kMaxModesPerRow = 8;

struct ModeList {
  std::array<uint8_t, kMaxModesPerRow> modes{};
  size_t count = 0;
  constexpr ModeList(std::initializer_list<uint8_t> list) {
    for (uint8_t m : list) modes[count++] = m;
  }
  constexpr bool contains(int mode) const {
    for (size_t i = 0; i < count; ++i) {
      if (modes[i] == mode) return true;
    }
    return false;
  }
};

struct LayoutRow {
  ModeList modes;
  uint8_t groups;
  uint8_t extras = 0;
  const DirectionLabels* labels = nullptr;
};

// Keyboard (kind 1).
constexpr LayoutRow kKeyboardRows[] = {
    {{1, 2}, kAllGroups},
    {{3, 24}, kAllGroups, 0, &kLabelsClockwise},
    {{4}, E | B | S, kColourGroupOff | kSame},
    {{5, 23}, E | C7 | C | P | B | S, kSame},
    {{6}, E | C7 | C | P | B, kSame},
    {{7, 8, 9, 10, 13, 15, 25, 29}, E | C7 | C | P | B | S},
    {{11}, E | B | S, kColourGroupOff},
    {{12}, E | B | S | D, kRgbOff, &kLabelsDownUp},
    {{14}, E | C7 | C | P | B | S},
    {{16}, E | C7 | C | P | B},
    {{17}, E | B | S, kSpeedHidden | kSubModeShown | kColourGroupOff},
    {{18}, E | B | D, kColourGroupOff, &kLabelsOutsideIn},
    {{20}, E | C | P | B, kSpeedHidden | kCustomShown},
    {{21}, E | C7 | C | P | B | D, kSpeedHidden | kAudioShown},
    {{22}, E | B, kColourGroupOff},
    {{26, 27}, E | B | S},
    {{28}, E, kSame},
    {{30}, kAllGroups, 0, &kLabelsUpDown},
};

// Mouse (kind 2).
constexpr LayoutRow kMouseRows[] = {
    {{0, 5}, kAllGroups},
    {{1}, E | B | S, kSame},
    {{2}, kAllGroups, kSame},
    {{3}, E | C | P | B, kSame},
    {{4}, E | C7 | C | P | B | S, kSame},
    {{6, 7}, E | B | S},
    {{8}, E, kSame},
};

// Mouse pad and headset (kinds 3, 4 and 7).
constexpr LayoutRow kPadRows[] = {
    {{0}, kAllGroups},
    {{1}, E | B | S, kSame},
    {{2, 4}, E | C7 | C | P | B | S, kSame},
    {{3}, E | C | P | B, kSame},
    {{8}, E, kSame},
};

// Kind 5: its direction group is never touched and it has no same-mode button.
constexpr LayoutRow kKindFiveRows[] = {
    {{0, 2, 3}, E | C7 | C | P | B | S},
    {{1}, E | C | P | B},
    {{4}, E | B | S},
};

struct KindTable {
  std::span<const LayoutRow> rows;
  uint8_t touched;        // groups the kind switches
  bool keyboard_before;   // the keyboard's preparation before its row
  bool direction_before;  // Dir enabled before the row
  bool same_mode;         // the kind has a same-mode button
};

std::optional<KindTable> table_of(int kind) {
  switch (kind) {
    case kPanelKeyboard:
      return KindTable{kKeyboardRows, kAllGroups, true, true, true};
    case kPanelMouse:
      return KindTable{kMouseRows, kAllGroups, false, true, true};
    case kPanelMousePad:
    case kPanelKindFour:
    case kPanelHeadset:
      return KindTable{kPadRows, kAllGroups, false, true, true};
    case kPanelKindFive:
      return KindTable{kKindFiveRows, kAllGroups & ~D, false, false, false};
    default:
      return std::nullopt;
  }
}

// The row of mode; a mode without a row offers the effect group alone.
LayoutRow row_of(const KindTable& table, int mode) {
  for (const LayoutRow& row : table.rows) {
    if (row.modes.contains(mode)) return row;
  }
  return LayoutRow{{}, E};
}

void put(LayoutPlan& plan, std::string_view control, Switch what) { plan.settings.push_back({control, what}); }

std::optional<bool> last_of(const LayoutPlan& plan, std::string_view control, Switch on, Switch off) {
  std::optional<bool> state;
  for (const ControlSetting& s : plan.settings) {
    if (s.control != control) continue;
    if (s.what == on) state = true;
    if (s.what == off) state = false;
  }
  return state;
}

}  // namespace

std::optional<bool> LayoutPlan::enabled(std::string_view control) const {
  return last_of(*this, control, Switch::Enable, Switch::Disable);
}

std::optional<bool> LayoutPlan::visible(std::string_view control) const {
  return last_of(*this, control, Switch::Show, Switch::Hide);
}

std::optional<LayoutPlan> layout_for(int kind, int mode, bool same_mode_available) {
  std::optional<KindTable> table = table_of(kind);
  if (!table) return std::nullopt;
  LayoutPlan plan;
  if (table->keyboard_before) {
    put(plan, kCustomLayout, Switch::Hide);
    put(plan, kSubModeLayout, Switch::Hide);
    put(plan, kAudioModeLayout, Switch::Hide);
    put(plan, kSpeedLayout, Switch::Show);
    put(plan, kColourGroupLayout, Switch::Enable);
    put(plan, kRgbLayout, Switch::Enable);
    plan.colour_page = kColourPageLight;
    plan.labels = kLabelsRightLeft;
  }
  if (table->direction_before) put(plan, kDirectionLayout, Switch::Enable);

  const LayoutRow row = row_of(*table, mode);
  for (size_t g = 0; g < kGroupControls.size(); ++g) {
    const uint8_t bit = static_cast<uint8_t>(1u << g);
    if ((table->touched & bit) == 0) continue;
    put(plan, kGroupControls[g], (row.groups & bit) != 0 ? Switch::Enable : Switch::Disable);
  }
  if (row.extras & kColourGroupOff) put(plan, kColourGroupLayout, Switch::Disable);
  if (row.extras & kRgbOff) put(plan, kRgbLayout, Switch::Disable);
  if (row.extras & kSpeedHidden) put(plan, kSpeedLayout, Switch::Hide);
  if (row.extras & kSubModeShown) put(plan, kSubModeLayout, Switch::Show);
  if (row.extras & kCustomShown) put(plan, kCustomLayout, Switch::Show);
  if (row.extras & kAudioShown) {
    put(plan, kAudioModeLayout, Switch::Show);
    plan.colour_page = kColourPageAudio;
  }
  if (row.labels != nullptr) plan.labels = *row.labels;
  if (table->same_mode) plan.same_mode_visible = same_mode_available && (row.extras & kSame) != 0;
  return plan;
}

bool mode_offers_same_mode(int kind, int mode) {
  std::optional<KindTable> table = table_of(kind);
  return table && table->same_mode && (row_of(*table, mode).extras & kSame) != 0;
}

}  // namespace qxr::editors
