#pragma once
// Hex dump of a 64-byte report as two debug lines of 32 bytes each: groups of four bytes,
// three spaces between the first four groups, two between the last four.
#include <cstdint>
#include <string>

namespace qxr::protocol {

inline constexpr size_t kDumpLineBytes = 32;

// Formats kDumpLineBytes bytes starting at bytes.
std::string format_dump_line(const uint8_t* bytes);

// Writes title, then the frame's two dump lines. Formats nothing unless someone listens.
void log_frame(const char* title, const uint8_t* frame);

}  // namespace qxr::protocol
