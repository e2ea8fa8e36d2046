#pragma once
// The record images the keyboard's macro memory and the mouse's recoil memory take: a 16-byte
// header (0x55AA, total length, record count n, reserved), n 16-bit record offsets, then n
// records of {16-bit event count, 2 reserved bytes, 4 bytes per event}, all little-endian.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qxr::emu {

inline constexpr uint16_t kBlobMagic = 0x55AA;
inline constexpr size_t kBlobHeaderSize = 16;
inline constexpr size_t kBlobOffsetSize = 2;
inline constexpr size_t kBlobRecordHeaderSize = 4;
inline constexpr size_t kBlobEventSize = 4;

inline constexpr size_t kBlobOffMagic = 0;
inline constexpr size_t kBlobOffLength = 2;
inline constexpr size_t kBlobOffCount = 4;

enum class BlobError {
  kNone,
  kBadMagic,
  kBadLength,       // announced length below the header or above the memory
  kBadOffsets,      // record offsets not where the records of the image lie
  kLengthMismatch,  // the records do not end where the announced length says
  kWrongCount,      // the memory holds a fixed number of records and the image has another
};

std::string_view blob_error_name(BlobError error);

// One record: its events, 4 bytes each, as stored.
struct BlobRecord {
  uint16_t event_count = 0;
  std::vector<uint8_t> events;
};

inline uint16_t read_le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Checks a complete image of `size` bytes (the announced length). expected_records < 0 accepts
// any count. On success the records are returned through `records` when it is given.
BlobError check_blob(const uint8_t* image, size_t size, int expected_records,
                     std::vector<BlobRecord>* records);

// Builds an image from records (tests and the emulator program's own checks).
std::vector<uint8_t> build_blob(const std::vector<std::vector<uint8_t>>& record_events);

}  // namespace qxr::emu
