#include "emulator/blob_image.h"

#include <algorithm>

namespace qxr::emu {

std::string_view blob_error_name(BlobError error) {
  switch (error) {
    case BlobError::kNone: return "ok";
    case BlobError::kBadMagic: return "bad magic";
    case BlobError::kBadLength: return "bad length";
    case BlobError::kBadOffsets: return "bad record offsets";
    case BlobError::kLengthMismatch: return "records do not fill the announced length";
    case BlobError::kWrongCount: return "wrong record count";
  }
  return "?";
}

BlobError check_blob(const uint8_t* image, size_t size, int expected_records,
                     std::vector<BlobRecord>* records) {
  if (size < kBlobHeaderSize) return BlobError::kBadLength;
  if (read_le16(image + kBlobOffMagic) != kBlobMagic) return BlobError::kBadMagic;
  if (read_le16(image + kBlobOffLength) != size) return BlobError::kBadLength;
  const size_t count = read_le16(image + kBlobOffCount);
  if (expected_records >= 0 && count != static_cast<size_t>(expected_records)) {
    return BlobError::kWrongCount;
  }
  size_t expected_offset = kBlobHeaderSize + count * kBlobOffsetSize;
  if (expected_offset > size) return BlobError::kBadLength;
  std::vector<BlobRecord> parsed;
  parsed.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    size_t offset = read_le16(image + kBlobHeaderSize + i * kBlobOffsetSize);
    // Records follow one another in offset order without gaps.
    if (offset != expected_offset) return BlobError::kBadOffsets;
    if (offset + kBlobRecordHeaderSize > size) return BlobError::kLengthMismatch;
    BlobRecord record;
    record.event_count = read_le16(image + offset);
    size_t event_bytes = static_cast<size_t>(record.event_count) * kBlobEventSize;
    size_t end = offset + kBlobRecordHeaderSize + event_bytes;
    if (end > size) return BlobError::kLengthMismatch;
    record.events.assign(image + offset + kBlobRecordHeaderSize, image + end);
    parsed.push_back(std::move(record));
    expected_offset = end;
  }
  if (expected_offset != size) return BlobError::kLengthMismatch;
  if (records) *records = std::move(parsed);
  return BlobError::kNone;
}

namespace {
void put_le16(std::vector<uint8_t>& out, size_t at, size_t value) {
  out[at] = static_cast<uint8_t>(value & 0xFF);
  out[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}
}  // namespace

std::vector<uint8_t> build_blob(const std::vector<std::vector<uint8_t>>& record_events) {
  const size_t n = record_events.size();
  size_t total = kBlobHeaderSize + n * kBlobOffsetSize;
  for (const auto& events : record_events) total += kBlobRecordHeaderSize + events.size();
  std::vector<uint8_t> out(total, 0);
  put_le16(out, kBlobOffMagic, kBlobMagic);
  put_le16(out, kBlobOffLength, total);
  put_le16(out, kBlobOffCount, n);
  size_t at = kBlobHeaderSize + n * kBlobOffsetSize;
  for (size_t i = 0; i < n; ++i) {
    put_le16(out, kBlobHeaderSize + i * kBlobOffsetSize, at);
    put_le16(out, at, record_events[i].size() / kBlobEventSize);
    std::copy(record_events[i].begin(), record_events[i].end(),
              out.begin() + static_cast<long>(at + kBlobRecordHeaderSize));
    at += kBlobRecordHeaderSize + record_events[i].size();
  }
  return out;
}

}  // namespace qxr::emu
