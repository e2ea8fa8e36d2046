#include "devices/lighting/ripple_masks.h"

namespace qxr::lighting {

void RippleMasks::ShiftRipple() {
  const Masks old_a = a, old_b = b, old_c = c, old_d = d;
  constexpr size_t last = kGridColumns - 1;
  for (size_t col = 0; col < last; ++col) {
    a[col] = static_cast<uint8_t>((old_a[col] >> 1) | old_a[col + 1]);
    d[col] = static_cast<uint8_t>((old_d[col] << 1) | old_d[col + 1]);
  }
  a[last] = static_cast<uint8_t>(old_a[last] >> 1);
  d[last] = static_cast<uint8_t>(old_d[last] << 1);
  for (size_t col = 1; col <= last; ++col) {
    b[col] = static_cast<uint8_t>((old_b[col] >> 1) | old_b[col - 1]);
    c[col] = static_cast<uint8_t>((old_c[col] << 1) | old_c[col - 1]);
  }
  b[0] = static_cast<uint8_t>(old_b[0] >> 1);
  c[0] = static_cast<uint8_t>(old_c[0] << 1);
}

void RippleMasks::SlideRipple() {
  a.fill(0);
  c.fill(0);
  constexpr size_t last = kGridColumns - 1;
  for (size_t col = last; col > 0; --col) b[col] = b[col - 1];
  b[0] = 0;
  for (size_t col = 0; col < last; ++col) d[col] = d[col + 1];
  d[last] = 0;
}

void RippleMasks::mark(size_t column, uint8_t bits) {
  if (column >= kGridColumns) return;
  a[column] |= bits;
  b[column] |= bits;
  c[column] |= bits;
  d[column] |= bits;
}

void RippleMasks::clear() {
  a.fill(0);
  b.fill(0);
  c.fill(0);
  d.fill(0);
}

}  // namespace qxr::lighting
