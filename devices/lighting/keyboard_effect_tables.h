#pragma once
// Fixed patterns of single keyboard effects: the scan, the sparkle's keys, the falling
// keys and the glow a reactive ripple spreads.
#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/lighting/keyboard_layout.h"

namespace qxr::lighting {

// The scan's first phase lights one row of keys per step (255 = no key).
inline constexpr size_t kScanRowCount = 20;
inline constexpr size_t kScanRowWidth = 6;
using ScanRow = std::array<uint8_t, kScanRowWidth>;
inline constexpr std::array<ScanRow, kScanRowCount> ScanRows = {{
    {0, 118, 255, 255, 255, 255},
    {1, 117, 255, 255, 255, 255},
    {2, 116, 255, 255, 255, 255},
    {3, 115, 21, 118, 255, 255},
    {4, 114, 22, 99, 255, 255},
    {5, 113, 23, 98, 255, 255},
    {6, 112, 24, 97, 42, 119},
    {7, 111, 25, 96, 43, 78},
    {8, 125, 26, 95, 44, 77},
    {9, 109, 27, 94, 45, 76},
    {33, 92, 28, 93, 46, 255},
    {54, 71, 29, 92, 47, 75},
    {74, 50, 30, 71, 48, 62},
    {94, 30, 31, 50, 49, 74},
    {93, 31, 52, 30, 50, 73},
    {92, 32, 72, 31, 51, 72},
    {71, 33, 71, 52, 52, 71},
    {50, 54, 50, 72, 53, 255},
    {30, 74, 255, 255, 255, 255},
    {31, 94, 255, 255, 255, 255},
}};

// The scan's second phase circles these pairs.
inline constexpr size_t kScanPairCount = 16;
using ScanPair = std::array<uint8_t, 2>;
inline constexpr std::array<ScanPair, kScanPairCount> ScanPairs = {{
    {30, 94}, {31, 93}, {32, 92}, {33, 71}, {54, 50}, {74, 30}, {94, 31}, {93, 32},
    {92, 33}, {71, 54}, {50, 74}, {51, 73}, {52, 72}, {53, 51}, {73, 52}, {72, 53},
}};

// The sparkle draws its keys from the 104 keys of a full-size keyboard.
inline constexpr size_t kSparkleKeyCount = 104;
inline constexpr std::array<uint8_t, kSparkleKeyCount> SparkleKeys = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,
    21,  22,  23,  24,  25,  26,  27,  28,  29,  30,  31,  32,  33,  34,  35,  36,
    37,  38,  39,  40,  41,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,
    53,  54,  55,  56,  57,  58,  59,  60,  61,  119, 63,  64,  65,  66,  67,  68,
    69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  84,  85,  86,  87,  88,  89,
    90,  91,  92,  93,  94,  95,  96,  97,  98,  99,  118, 105, 106, 107, 108, 109,
    125, 111, 112, 113, 114, 115, 116, 117,
};

// Falling keys: every KeyGrid column drops a key from row 0 to row 5 once every
// kRainPeriod steps; the columns start kRainStagger steps apart (mod kRainPeriod) so that
// the drops look scattered. Row t of the table lists the keys lit at step t (170 = none).
inline constexpr size_t kFallingRowCount = 52;
inline constexpr size_t kFallingRowWidth = 12;
inline constexpr size_t kRainPeriod = 26;
inline constexpr size_t kRainStagger = 11;  // coprime with kRainPeriod: no two columns in step
using FallingRow = std::array<uint8_t, kFallingRowWidth>;

namespace detail {
constexpr std::array<FallingRow, kFallingRowCount> make_falling_keys() {
  std::array<FallingRow, kFallingRowCount> table{};
  for (auto& row : table) row.fill(kNoKey);
  for (size_t t = 0; t < kFallingRowCount; ++t) {
    size_t n = 0;
    for (size_t c = 0; c < kGridColumns; ++c) {
      const size_t start = (c * kRainStagger) % kRainPeriod;
      const size_t fallen = (t + kRainPeriod - start) % kRainPeriod;
      if (fallen >= kGridRows || KeyGrid[c][fallen] == kNoKey) continue;
      if (n == kFallingRowWidth) throw "more drops in one step than a row holds";
      table[t][n++] = KeyGrid[c][fallen];
    }
  }
  return table;
}
}  // namespace detail
inline constexpr std::array<FallingRow, kFallingRowCount> FallingKeys = detail::make_falling_keys();

// The glow a reactive-ripple press adds around the key, by KeyGrid offset.
struct GlowSpread {
  int8_t columns;
  int8_t rows;
  uint8_t gain;
};
inline constexpr uint8_t kDirectGain = 150;
inline constexpr uint8_t kDiagonalGain = 90;
inline constexpr uint8_t kTwoColumnsGain = 60;
inline constexpr size_t kGlowSpreadCount = 12;
inline constexpr std::array<GlowSpread, kGlowSpreadCount> ReactiveSpread = {{
    {0, -1, kDirectGain},
    {0, 1, kDirectGain},
    {-1, 0, kDirectGain},
    {1, 0, kDirectGain},
    {-1, -1, kDiagonalGain},
    {1, -1, kDiagonalGain},
    {-1, 1, kDiagonalGain},
    {1, 1, kDiagonalGain},
    {0, -2, kDiagonalGain},
    {0, 2, kDiagonalGain},
    {-2, 0, kTwoColumnsGain},
    {2, 0, kTwoColumnsGain},
}};

}  // namespace qxr::lighting
