#include "protocol/report_dump.h"

#include "core/debug_line.h"
#include "protocol/command_report.h"

namespace qxr::protocol {

namespace {
constexpr size_t kGroupBytes = 4;
constexpr size_t kWideGroups = 3;  // gaps after groups 1..3 are three spaces, later ones two
constexpr char kHex[] = "0123456789abcdef";
}  // namespace

std::string format_dump_line(const uint8_t* bytes) {
  std::string line;
  line.reserve(kDumpLineBytes * 4);
  for (size_t i = 0; i < kDumpLineBytes; ++i) {
    line.push_back(kHex[bytes[i] >> 4]);
    line.push_back(kHex[bytes[i] & 0x0F]);
    if (i + 1 == kDumpLineBytes) break;
    size_t next = i + 1;
    if (next % kGroupBytes != 0) {
      line.push_back(' ');
    } else {
      line.append(next / kGroupBytes <= kWideGroups ? "   " : "  ");
    }
  }
  return line;
}

void log_frame(const char* title, const uint8_t* frame) {
  if (!debug_enabled()) return;
  debug_line(title);
  for (size_t at = 0; at < kReportSize; at += kDumpLineBytes) debug_line(format_dump_line(frame + at));
}

}  // namespace qxr::protocol
