#pragma once
// The macro image the keyboard plays its macros from. Little-endian:
//   0-1 0x55AA, 2-3 total length, 4-5 macro count n, 6-15 reserved (0),
//   16 + 2i: offset of macro record i from the start of the image,
//   record: 16-bit event count, 2 reserved bytes (0), then 4 bytes per event.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "profile/records.h"

namespace qxr::devices {

inline constexpr uint16_t kMacroBlobMagic = 0x55AA;
inline constexpr size_t kMacroBlobHeaderSize = 16;
inline constexpr size_t kMacroOffsetSize = 2;
inline constexpr size_t kMacroRecordHeaderSize = 4;
inline constexpr size_t kMacroEventSize = 4;
inline constexpr size_t kMacroCapacityUnit = 128;  // information byte 6 counts these
inline constexpr uint8_t kMacroEventDown = 0x80;

// The event's four bytes: delay low, delay high, type | 0x80 for a press, button.
void encode_macro_event(const MacroEvent& event, uint8_t out[kMacroEventSize]);

size_t macro_blob_length(const std::vector<std::vector<MacroEvent>>& macros);
// How many events too many a blob of total bytes holds for capacity bytes; 0 when it fits.
int macro_overflow_count(size_t total, size_t capacity);
// The image; empty when it would not fit the 16-bit length and offset fields.
std::vector<uint8_t> build_macro_blob(const std::vector<std::vector<MacroEvent>>& macros);

}  // namespace qxr::devices
