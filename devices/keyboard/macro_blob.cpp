#include "devices/keyboard/macro_blob.h"

#include <charconv>
#include <limits>
#include <string>

namespace qxr::devices {

namespace {

constexpr uint16_t kMax16 = std::numeric_limits<uint16_t>::max();

uint32_t clamp_delay(int64_t v) {
  if (v < 0) return 0;
  return v > kMaxMacroDelayMs ? kMaxMacroDelayMs : static_cast<uint32_t>(v);
}

uint32_t delay_of(const Json::Value& v) {
  if (v.isString()) {
    std::string s = v.asString();
    uint64_t n = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec == std::errc::result_out_of_range) return kMaxMacroDelayMs;
    if (ec != std::errc() || end == s.data()) return 0;
    return n > kMaxMacroDelayMs ? kMaxMacroDelayMs : static_cast<uint32_t>(n);
  }
  if (v.isIntegral()) return v.isInt64() ? clamp_delay(v.asInt64()) : kMaxMacroDelayMs;
  if (v.isDouble()) {
    double d = v.asDouble();
    if (!(d >= 0)) return 0;
    return d >= kMaxMacroDelayMs ? kMaxMacroDelayMs : static_cast<uint32_t>(d);
  }
  return 0;
}

// The low byte of an integer member; anything else is 0.
uint8_t low_byte_of(const Json::Value& v) {
  if (v.isInt64()) return static_cast<uint8_t>(v.asInt64() & 0xFF);
  if (v.isUInt64()) return static_cast<uint8_t>(v.asUInt64() & 0xFF);
  return 0;
}

void put16(std::vector<uint8_t>& out, size_t at, size_t value) {
  out[at] = static_cast<uint8_t>(value & 0xFF);
  out[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

MacroEvent macro_event_from_json(const Json::Value& event) {
  MacroEvent e;
  if (!event.isObject()) return e;
  const Json::Value& action = event["Action"];
  e.down = action.isString() && action.asString() == "down";
  e.type = low_byte_of(event["Type"]);
  e.button = low_byte_of(event["Button"]);
  e.delay_ms = static_cast<uint16_t>(delay_of(event["Delay"]));
  return e;
}

std::vector<MacroEvent> macro_events_from_document(const Json::Value& document) {
  std::vector<MacroEvent> events;
  if (!document.isObject()) return events;
  const Json::Value& list = document["Events"];
  if (!list.isArray()) return events;
  events.reserve(list.size());
  for (const Json::Value& e : list) events.push_back(macro_event_from_json(e));
  return events;
}

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
