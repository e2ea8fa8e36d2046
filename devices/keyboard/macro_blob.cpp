#include "devices/keyboard/macro_blob.h"

#include <limits>

namespace qxr::devices {

namespace {

constexpr uint16_t kMax16 = std::numeric_limits<uint16_t>::max();

void put16(std::vector<uint8_t>& out, size_t at, size_t value) {
  out[at] = static_cast<uint8_t>(value & 0xFF);
  out[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

void encode_macro_event(const MacroEvent& event, uint8_t out[kMacroEventSize]) {
  out[0] = static_cast<uint8_t>(event.delay_ms & 0xFF);
  out[1] = static_cast<uint8_t>(event.delay_ms >> 8);
  out[2] = static_cast<uint8_t>(event.type | (event.down ? kMacroEventDown : 0));
  out[3] = event.button;
}

size_t macro_blob_length(const std::vector<std::vector<MacroEvent>>& macros) {
  size_t total = kMacroBlobHeaderSize;
  for (const auto& m : macros)
    total += kMacroOffsetSize + kMacroRecordHeaderSize + kMacroEventSize * m.size();
  return total;
}

int macro_overflow_count(size_t total, size_t capacity) {
  if (total <= capacity) return 0;
  return static_cast<int>((total - capacity) / kMacroEventSize + 1);
}

std::vector<uint8_t> build_macro_blob(const std::vector<std::vector<MacroEvent>>& macros) {
  size_t total = macro_blob_length(macros);
  if (total > kMax16 || macros.size() > kMax16) return {};
  std::vector<uint8_t> blob(total, 0);
  put16(blob, 0, kMacroBlobMagic);
  put16(blob, 2, total);
  put16(blob, 4, macros.size());
  size_t record = kMacroBlobHeaderSize + kMacroOffsetSize * macros.size();
  for (size_t i = 0; i < macros.size(); ++i) {
    put16(blob, kMacroBlobHeaderSize + kMacroOffsetSize * i, record);
    put16(blob, record, macros[i].size());
    size_t at = record + kMacroRecordHeaderSize;
    for (const MacroEvent& e : macros[i]) {
      encode_macro_event(e, &blob[at]);
      at += kMacroEventSize;
    }
    record = at;
  }
  return blob;
}

}  // namespace qxr::devices
