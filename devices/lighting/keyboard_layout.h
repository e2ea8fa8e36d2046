#pragma once
// Where the keyboard's logical keys sit, for the effects that walk columns, rows, rings or a
// path through the keys.
#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/lighting/led_types.h"

namespace qxr::lighting {

inline constexpr size_t kGridColumns = 23;
inline constexpr size_t kGridRows = 6;
using GridColumn = std::array<uint8_t, kGridRows>;

// The physical layout of the column and row effects: KeyGrid[column][row], row 0 on top.
inline constexpr std::array<GridColumn, kGridColumns> KeyGrid = {{
    {170, 120, 121, 122, 123, 124},
    {170, 21, 42, 63, 84, 105},
    {0, 22, 43, 64, 102, 106},
    {1, 23, 44, 65, 85, 20},
    {2, 24, 45, 66, 86, 107},
    {3, 25, 46, 67, 87, 126},
    {4, 26, 47, 68, 88, 108},
    {18, 27, 48, 69, 89, 128},
    {5, 28, 49, 70, 90, 129},
    {6, 29, 50, 71, 91, 109},
    {7, 30, 51, 72, 92, 110},
    {8, 31, 52, 73, 93, 112},
    {9, 32, 53, 74, 94, 113},
    {10, 33, 54, 62, 100, 114},
    {11, 34, 55, 75, 19, 115},
    {12, 101, 103, 79, 95, 130},
    {56, 38, 59, 76, 96, 116},
    {35, 39, 60, 77, 97, 131},
    {37, 40, 61, 78, 98, 117},
    {58, 41, 132, 119, 99, 133},
    {134, 135, 136, 137, 118, 138},
    {139, 141, 143, 145, 147, 149},
    {140, 142, 144, 146, 148, 150},
}};

// The keys in rings around key 51 (ring 0); every ring walks all of its 12 cells.
inline constexpr size_t kRingCount = 12;
inline constexpr size_t kRingCells = 12;
using Ring = std::array<uint8_t, kRingCells>;
inline constexpr std::array<Ring, kRingCount> RingGrid = {{
    {51, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170},
    {30, 50, 71, 72, 52, 31, 170, 170, 170, 170, 170, 170},
    {8, 29, 49, 70, 91, 92, 93, 73, 53, 32, 170, 170},
    {7, 28, 48, 69, 90, 109, 94, 74, 54, 33, 9, 62},
    {6, 27, 47, 68, 89, 110, 95, 75, 55, 34, 10, 11},
    {5, 26, 46, 67, 88, 108, 111, 112, 170, 170, 12, 125},
    {4, 25, 45, 66, 87, 113, 96, 57, 36, 13, 170, 170},
    {3, 24, 44, 65, 86, 114, 59, 76, 97, 15, 14, 170},
    {2, 23, 43, 64, 85, 107, 115, 98, 77, 60, 38, 56},
    {1, 22, 42, 63, 84, 106, 116, 99, 78, 61, 39, 35},
    {0, 21, 105, 117, 170, 170, 170, 40, 37, 170, 170, 170},
    {118, 119, 41, 58, 170, 170, 170, 170, 170, 170, 170, 170},
}};

// A snake through the keyboard for the key-order effects.
inline constexpr size_t kKeyOrderLength = 126;
inline constexpr std::array<uint8_t, kKeyOrderLength> KeyOrder = {
    58,  37,  35,  56,  12,  11,  10,  9,   8,   7,   6,   5,   4,   3,   2,   1,   0,   21,
    42,  63,  84,  105, 106, 107, 108, 109, 125, 110, 111, 112, 113, 114, 115, 116, 117, 118,
    119, 41,  40,  39,  38,  170, 170, 170, 34,  33,  32,  31,  30,  29,  28,  27,  26,  25,
    24,  23,  22,  43,  64,  102, 85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  96,
    97,  98,  99,  78,  61,  60,  59,  170, 170, 170, 55,  54,  53,  52,  51,  50,  49,  48,
    47,  46,  45,  44,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  62,  75,  76,  77,
    170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170, 170,
};

// The layout the twinkle effects start their per-key waves from: WaveLayout[column][row].
inline constexpr size_t kWaveColumns = 23;
inline constexpr size_t kWaveRows = 7;
using WaveColumn = std::array<uint8_t, kWaveRows>;
inline constexpr std::array<WaveColumn, kWaveColumns> WaveLayout = {{
    {255, 255, 255, 255, 255, 255, 105},
    {255, 255, 21, 42, 63, 84, 106},
    {255, 0, 22, 43, 64, 85, 107},
    {255, 1, 23, 44, 65, 86, 255},
    {255, 2, 24, 45, 66, 87, 255},
    {255, 3, 25, 46, 67, 88, 255},
    {255, 4, 26, 47, 68, 89, 108},
    {255, 255, 27, 48, 69, 90, 255},
    {255, 5, 28, 49, 70, 91, 255},
    {255, 6, 29, 50, 71, 92, 109},
    {255, 7, 30, 51, 72, 93, 109},
    {255, 8, 31, 52, 73, 94, 110},
    {255, 9, 32, 53, 74, 255, 111},
    {255, 10, 33, 54, 75, 255, 255},
    {255, 11, 34, 55, 255, 95, 112},
    {255, 12, 34, 55, 255, 95, 112},
    {255, 13, 35, 56, 255, 255, 113},
    {255, 14, 36, 57, 255, 96, 114},
    {255, 15, 37, 58, 255, 255, 115},
    {255, 17, 38, 59, 76, 97, 116},
    {125, 18, 39, 60, 77, 98, 116},
    {255, 19, 40, 61, 78, 99, 117},
    {255, 20, 41, 255, 119, 118, 255},
}};

// The path of the fill effect, one cell per step.
inline constexpr size_t kFillLength = 170;
inline constexpr std::array<uint8_t, kFillLength> FillOrder = {
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,  17,
    18,  19,  20,  41,  40,  39,  38,  37,  36,  35,  34,  33,  32,  31,  30,  29,  28,
    27,  26,  25,  24,  23,  22,  21,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,
    52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  119, 78,  77,  76,  75,  170, 74,
    73,  72,  71,  70,  69,  68,  67,  66,  65,  64,  63,  84,  170, 85,  86,  87,  88,
    89,  90,  91,  92,  93,  94,  95,  96,  97,  98,  99,  118, 117, 116, 115, 114, 113,
    112, 111, 110, 109, 108, 107, 106, 105, 170, 170, 170, 170, 170, 170, 170, 170, 170,
    170, 170, 170, 170, 170, 170, 170, 0,   0,   0,   0,   0,   0,   0,   0,   0,   0,
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,
    0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,   0,
};

// Where a key sits in KeyGrid (its first cell), for the effects a key press starts.
struct GridCell {
  uint8_t column = kNoCell;
  uint8_t row = kNoCell;
  constexpr bool valid() const { return column != kNoCell; }
};

namespace detail {
constexpr std::array<GridCell, kKeyCount> make_key_cells() {
  std::array<GridCell, kKeyCount> cells{};
  for (size_t c = 0; c < kGridColumns; ++c)
    for (size_t r = 0; r < kGridRows; ++r) {
      const uint8_t key = KeyGrid[c][r];
      if (key < kKeyCount && !cells[key].valid())
        cells[key] = {static_cast<uint8_t>(c), static_cast<uint8_t>(r)};
    }
  return cells;
}
}  // namespace detail

inline constexpr std::array<GridCell, kKeyCount> KeyCells = detail::make_key_cells();

// The key at a column and row of KeyGrid, kNoKey outside the grid or in an empty cell.
constexpr uint8_t grid_key(int column, int row) {
  if (column < 0 || row < 0 || column >= static_cast<int>(kGridColumns) ||
      row >= static_cast<int>(kGridRows))
    return kNoKey;
  return KeyGrid[column][row];
}

}  // namespace qxr::lighting
