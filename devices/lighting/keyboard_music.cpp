// The music effect: seven ways of drawing the 25 band magnitudes of the last spectrum
// frame. All of them use the same height rule (music_first_row: a band lights the KeyGrid
// rows from its first row down, none in silence, rows 1-5 at full scale) and the same
// colour rule: a lit key glows at full in the foreground colour (with the wheel flag: the
// wheel colour of its column, 10 entries apart per column); an unlit key fades along the
// music curve and shows the background once its glow is down to 9.
//
//  0  column bars: column c shows band (offset + c); the offset moves every 31 steps.
//  1  row bars: row r shows one band (every fourth, the lowest band on the bottom row) as
//     a bar from the left edge, as long as the band's bar would be high, in fifths.
//  2  ripple: loud music starts ripples at key 51; keys cycle through the wheel.
//  3  rings: the loudest band lights rings of RingGrid from key 51 outwards.
//  4  hanging bars: column c shows band c, hanging from the top row.
//  5  six-band row bars: bands grouped 2, 3, 3, 4, 5, 7 (low to high, bottom row up), bars
//     from the left edge.
//  6  six-band centre bars: bands grouped 1, 3, 4, 4, 5, 7, bars growing from the middle
//     column to both sides.
#include <algorithm>

#include "devices/lighting/effect_step.h"
#include "devices/lighting/keyboard_effects.h"
#include "devices/lighting/keyboard_layout.h"
#include "devices/lighting/shared_tables.h"

namespace qxr::lighting {

namespace {
constexpr uint8_t kBandOffsetPeriod = 31;
constexpr size_t kColumnBandWrap = 24;  // the column bars wrap past band 23
constexpr unsigned kMusicWheelSpacing = 10;
constexpr uint8_t kBackgroundGlow = 9;
// At full scale a band lights this many rows; bars of other shapes scale to it.
constexpr int kFullScaleRows = static_cast<int>(kGridRows) - 1;
constexpr size_t kRowBarBandStride = 4;
constexpr uint8_t kRippleKey = 51;
constexpr unsigned kRippleWheelAdvance = 9;
constexpr size_t kCentreColumn = kGridColumns / 2;
constexpr std::array<uint8_t, kGridRows> kSixBandGroups = {2, 3, 3, 4, 5, 7};
constexpr std::array<uint8_t, kGridRows> kSixBandCentreGroups = {1, 3, 4, 4, 5, 7};

// How many rows' worth a band lights: 0 (silence) to kFullScaleRows.
int lit_rows(int32_t magnitude) {
  return std::clamp(static_cast<int>(kGridRows) - music_first_row(magnitude), 0, kFullScaleRows);
}

// The same amount spread over `span` cells (rounded up, so any sound shows).
size_t lit_span(int32_t magnitude, size_t span) {
  return (static_cast<size_t>(lit_rows(magnitude)) * span + kFullScaleRows - 1) / kFullScaleRows;
}
}  // namespace

Rgb KeyboardEffects::bar_colour(unsigned slot) const {
  if (!music_style_.wheel) return music_style_.foreground;
  return wheel_colour((state_.music.colour + kMusicWheelSpacing * slot) % kWheelCycle);
}

void KeyboardEffects::music_key(uint8_t key, bool lit, unsigned slot) {
  if (key >= kKeyCount) return;
  auto& glow = state_.glow.glow;
  if (lit) {
    glow[key] = 255;
    state_.frame[key] = make_led(bar_colour(slot), level());
    return;
  }
  state_.glow.decay_key_glow(key, kMusicCurve);
  if (glow[key] <= kBackgroundGlow)
    state_.frame[key] = make_led(music_style_.background, level());
  else
    state_.frame[key].brightness = scale8(level(), glow[key]);
}

void KeyboardEffects::step_music(const StepContext& ctx) {
  MusicState& m = state_.music;
  m.colour = effect_step(info_.fx, kWheelCycle, m.colour, 1);
  if (++m.offset_steps >= kBandOffsetPeriod) {
    m.offset_steps = 0;
    m.band_offset = effect_step(info_.fx, kMusicBands, m.band_offset, 1);
  }
  switch (music_style_.visual) {
    case 1:
      music_row_bars(ctx.music);
      break;
    case 2:
      music_ripple(ctx.music);
      break;
    case 3:
      music_rings(ctx.music);
      break;
    case 4:
      music_hanging_bars(ctx.music);
      break;
    case 5:
      music_band_rows(ctx.music, kSixBandGroups, false);
      break;
    case 6:
      music_band_rows(ctx.music, kSixBandCentreGroups, true);
      break;
    default:  // 0, and whatever a damaged profile holds
      music_column_bars(ctx.music);
      break;
  }
}

void KeyboardEffects::music_column_bars(const MusicFrame& music) {
  for (size_t c = 0; c < kGridColumns; ++c) {
    const int first = music_first_row(music.bands[(state_.music.band_offset + c) % kColumnBandWrap]);
    for (size_t row = 0; row < kGridRows; ++row)
      music_key(KeyGrid[c][row], static_cast<int>(row) >= first, static_cast<unsigned>(c));
  }
}

void KeyboardEffects::music_row_bars(const MusicFrame& music) {
  for (size_t row = 0; row < kGridRows; ++row) {
    const size_t width = lit_span(music.bands[kRowBarBandStride * (kGridRows - 1 - row)], kGridColumns);
    for (size_t c = 0; c < kGridColumns; ++c) music_key(KeyGrid[c][row], c < width, static_cast<unsigned>(c));
  }
}

void KeyboardEffects::music_ripple(const MusicFrame& music) {
  if (music.ripple) mark_key_press(kRippleKey);
  mark_ripple_keys(false);
  ShiftRipple();
  for (uint8_t& index : state_.colour_tab)
    index = static_cast<uint8_t>((index + kRippleWheelAdvance) % kWheelCycle);
  auto& glow = state_.glow.glow;
  for (const GridColumn& column : KeyGrid)
    for (uint8_t key : column) {
      if (key >= kKeyCount) continue;
      state_.glow.decay_key_glow(key, kMusicCurve);
      state_.frame[key] = glow[key] <= kBackgroundGlow
                              ? make_led(music_style_.background, level())
                              : make_led(wheel_colour(state_.colour_tab[key]), scale8(level(), glow[key]));
    }
}

void KeyboardEffects::music_rings(const MusicFrame& music) {
  const int32_t loudest = *std::max_element(music.bands.begin(), music.bands.end());
  const size_t rings = lit_span(loudest, kRingCount);
  for (size_t ring = 0; ring < kRingCount; ++ring)
    for (uint8_t key : RingGrid[ring]) music_key(key, ring < rings, static_cast<unsigned>(ring));
}

void KeyboardEffects::music_hanging_bars(const MusicFrame& music) {
  for (size_t c = 0; c < kGridColumns; ++c) {
    const int rows = lit_rows(music.bands[c]);
    for (size_t row = 0; row < kGridRows; ++row)
      music_key(KeyGrid[c][row], static_cast<int>(row) < rows, static_cast<unsigned>(c));
  }
}

void KeyboardEffects::music_band_rows(const MusicFrame& music, std::span<const uint8_t> groups,
                                      bool centred) {
  size_t band = 0;
  for (size_t g = 0; g < groups.size() && g < kGridRows; ++g) {
    int64_t sum = 0;
    const size_t count = groups[g];
    for (size_t i = 0; i < count && band < kMusicBands; ++i) sum += music.bands[band++];
    const auto mean = static_cast<int32_t>(count ? sum / static_cast<int64_t>(count) : 0);
    const size_t row = kGridRows - 1 - g;
    if (centred) {
      const size_t half = lit_span(mean, kCentreColumn + 1);
      for (size_t c = 0; c < kGridColumns; ++c) {
        const size_t distance = c > kCentreColumn ? c - kCentreColumn : kCentreColumn - c;
        music_key(KeyGrid[c][row], distance < half, static_cast<unsigned>(c));
      }
    } else {
      const size_t width = lit_span(mean, kGridColumns);
      for (size_t c = 0; c < kGridColumns; ++c) music_key(KeyGrid[c][row], c < width, static_cast<unsigned>(c));
    }
  }
}

}  // namespace qxr::lighting
