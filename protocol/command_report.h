#pragma once
// The 64-byte command report: byte 0 report id 4, bytes 1-2 checksum (16-bit sum of bytes
// 3..63, low byte first), 3 command, 4 length, 5-6 offset (little-endian), 7 status in the
// reply, 8-63 data.
#include <array>
#include <cstddef>
#include <cstdint>

namespace qxr::protocol {

inline constexpr size_t kReportSize = 64;
inline constexpr size_t kHeaderSize = 8;
inline constexpr size_t kPageSize = kReportSize - kHeaderSize;  // 56
inline constexpr uint8_t kCommandReportId = 4;

inline constexpr size_t kOffReportId = 0;
inline constexpr size_t kOffChecksumLo = 1;
inline constexpr size_t kOffChecksumHi = 2;
inline constexpr size_t kOffCommand = 3;
inline constexpr size_t kOffLength = 4;
inline constexpr size_t kOffOffsetLo = 5;
inline constexpr size_t kOffOffsetHi = 6;
inline constexpr size_t kOffStatus = 7;
inline constexpr size_t kOffData = 8;

inline constexpr uint8_t kStatusError = 0xFF;   // -> kResultStatusFF
inline constexpr uint8_t kStatusBusy = 0xFE;    // -> kResultStatusFE
inline constexpr uint8_t kLinkUpAnswer = 0xFF;  // reply byte 8 of CMD_LINK_QUERY when linked

enum Command : uint8_t {
  CMD_BEGIN = 0x01,
  CMD_END = 0x02,
  CMD_READ_INFO = 0x03,
  CMD_READ_PARAMS = 0x05,
  CMD_WRITE_PARAMS = 0x06,
  CMD_READ_KEYS = 0x07,
  CMD_WRITE_KEYS = 0x09,
  CMD_WRITE_KEY_COLOURS = 0x0B,
  CMD_LIGHT_STREAM = 0x12,
  CMD_WRITE_MACROS = 0x15,
  CMD_WRITE_RECOIL = 0x17,
  CMD_READ_STATUS = 0x1A,
  CMD_READ_LED_MAP = 0x1B,
  CMD_HOST_LIGHTING = 0x1C,
  CMD_LINK_QUERY = 0xAA,
};

// Results shared by every channel operation and command.
enum Result : int {
  kResultOk = 1,
  kResultNoReply = 0,        // not opened, or no reply in time
  kResultWriteFailed = -1,
  kResultStatusFF = -102,
  kResultStatusFE = -103,
  kResultBadTableIndex = -201,
  // A request that cannot be framed: pages past the 16-bit address space, a status read longer
  // than one page, or a missing buffer. Nothing is sent.
  kResultBadRequest = -202,
};

using CommandReport = std::array<uint8_t, kReportSize>;

inline uint16_t report_checksum(const uint8_t* report) {
  unsigned sum = 0;
  for (size_t i = kOffCommand; i < kReportSize; ++i) sum += report[i];
  return static_cast<uint16_t>(sum);
}

inline void set_checksum(uint8_t* report) {
  uint16_t sum = report_checksum(report);
  report[kOffChecksumLo] = static_cast<uint8_t>(sum & 0xFF);
  report[kOffChecksumHi] = static_cast<uint8_t>(sum >> 8);
}

inline bool checksum_ok(const uint8_t* report) {
  uint16_t sum = report_checksum(report);
  return report[kOffChecksumLo] == (sum & 0xFF) && report[kOffChecksumHi] == (sum >> 8);
}

// A zeroed request for a command: report id, command byte, page length and offset, checksum
// left to the caller once the data is in place.
inline CommandReport make_request(uint8_t command, uint8_t length = 0, uint16_t offset = 0) {
  CommandReport r{};
  r[kOffReportId] = kCommandReportId;
  r[kOffCommand] = command;
  r[kOffLength] = length;
  r[kOffOffsetLo] = static_cast<uint8_t>(offset & 0xFF);
  r[kOffOffsetHi] = static_cast<uint8_t>(offset >> 8);
  return r;
}

inline uint16_t report_offset(const uint8_t* report) {
  return static_cast<uint16_t>(report[kOffOffsetLo] | (report[kOffOffsetHi] << 8));
}

}  // namespace qxr::protocol
