#pragma once
// Four masks per KeyGrid column (A, B, C, D), one bit per row: bit 0 = row 0 ... bit 5 =
// row 5, bit 6 lies just beyond the last row. The ripple, bar and scan effects move them.
#include <array>
#include <cstddef>
#include <cstdint>

#include "devices/lighting/keyboard_layout.h"

namespace qxr::lighting {

inline constexpr uint8_t kBelowLastRowBit = 1u << kGridRows;  // bit 6

struct RippleMasks {
  using Masks = std::array<uint8_t, kGridColumns>;
  Masks a{}, b{}, c{}, d{};

  // One step from the old values: A and D travel towards column 0, B and C towards column
  // 22; A and B towards row 0, C and D towards row 5. Bits shifted out are lost.
  void ShiftRipple();
  // Clears A and C; B moves one column towards 22 and D one towards 0, rows unchanged.
  void SlideRipple();
  // Sets a row bit in all four masks of a column (what a key press does).
  void mark(size_t column, uint8_t bits);
  // The four masks of a column together.
  uint8_t combined(size_t column) const { return a[column] | b[column] | c[column] | d[column]; }
  void clear();
};

}  // namespace qxr::lighting
