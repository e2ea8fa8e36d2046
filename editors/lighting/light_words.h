#pragma once
// The lighting panel's wire format. The panel takes and gives the first eight bytes of a
// LightInfo as two 32-bit words, and shows a colour as a toolkit colour (opaque ARGB).
#include <cstdint>

#include "profile/records.h"

namespace qxr::editors {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// word A = mode | brightness << 8 | speed << 16 | direction << 24
// word B = seven-colour | red << 8 | green << 16 | blue << 24
struct LightWords {
  uint32_t a = 0;
  uint32_t b = 0;
  bool operator==(const LightWords&) const = default;
};

LightWords pack_light_words(const LightInfo& light);
// The eight bytes of the words over base; the keyboard's bytes 8-13 stay those of base.
LightInfo unpack_light_words(const LightWords& words, const LightInfo& base = {});

inline constexpr uint8_t mode_of(const LightWords& w) { return static_cast<uint8_t>(w.a); }
inline constexpr uint8_t brightness_of(const LightWords& w) { return static_cast<uint8_t>(w.a >> 8); }
inline constexpr uint8_t speed_of(const LightWords& w) { return static_cast<uint8_t>(w.a >> 16); }
inline constexpr uint8_t direction_of(const LightWords& w) { return static_cast<uint8_t>(w.a >> 24); }
inline constexpr uint8_t seven_colour_of(const LightWords& w) { return static_cast<uint8_t>(w.b); }
inline constexpr Rgb colour_of(const LightWords& w) {
  return {static_cast<uint8_t>(w.b >> 8), static_cast<uint8_t>(w.b >> 16), static_cast<uint8_t>(w.b >> 24)};
}

// Opaque alpha of every colour the panel shows.
inline constexpr uint32_t kOpaque = 0xFF000000u;

// 0xFF000000 | red << 16 | green << 8 | blue
inline constexpr uint32_t toolkit_colour(Rgb c) {
  return kOpaque | uint32_t{c.red} << 16 | uint32_t{c.green} << 8 | uint32_t{c.blue};
}
inline constexpr Rgb rgb_of_toolkit_colour(uint32_t argb) {
  return {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb)};
}

inline constexpr Rgb colour_of(const LightInfo& l) { return {l.red, l.green, l.blue}; }
inline constexpr void set_colour(LightInfo& l, Rgb c) {
  l.red = c.red;
  l.green = c.green;
  l.blue = c.blue;
}

}  // namespace qxr::editors
