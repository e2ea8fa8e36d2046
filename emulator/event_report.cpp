#include "emulator/event_report.h"

#include <map>
#include <utility>

namespace qxr::emu {

namespace {
// Short-item prefixes (tag | type, size bits masked off).
constexpr uint8_t kItemInput = 0x80, kItemOutput = 0x90, kItemFeature = 0xB0,
                  kItemCollection = 0xA0, kItemEndCollection = 0xC0;
constexpr uint8_t kItemUsagePage = 0x04, kItemLogicalMin = 0x14, kItemLogicalMax = 0x24,
                  kItemReportSize = 0x74, kItemReportId = 0x84, kItemReportCount = 0x94,
                  kItemPush = 0xA4, kItemPop = 0xB4;
constexpr uint8_t kItemUsage = 0x08, kItemUsageMin = 0x18, kItemUsageMax = 0x28;
constexpr uint8_t kLongItem = 0xFE;
constexpr uint32_t kMainConstant = 0x01, kMainVariable = 0x02;
constexpr uint32_t kMaxFieldBits = 32;

struct Globals {
  uint16_t usage_page = 0;
  int32_t logical_min = 0, logical_max = 0;
  uint32_t report_size = 0, report_count = 0;
  uint8_t report_id = 0;
};

struct Locals {
  std::vector<uint32_t> usages;  // page << 16 | usage
  uint32_t usage_min = 0, usage_max = 0;
  bool has_min = false, has_max = false;
};

int32_t signed_value(uint32_t raw, size_t size) {
  switch (size) {
    case 1: return static_cast<int8_t>(raw);
    case 2: return static_cast<int16_t>(raw);
    default: return static_cast<int32_t>(raw);
  }
}

uint32_t extended(uint32_t raw, size_t size, uint16_t page) {
  return size == 4 ? raw : (uint32_t{page} << 16) | (raw & 0xFFFF);
}
}  // namespace

bool EventEncoder::init(const std::vector<uint8_t>& d, uint16_t want_page, uint16_t want_usage,
                        int skip_report_id) {
  *this = EventEncoder{};
  Globals g;
  std::vector<Globals> stack;
  Locals l;
  int depth = 0;
  bool in_wanted = false;
  bool found = false;
  std::map<std::pair<int, uint8_t>, uint32_t> bits;  // (main type, report id) → bits so far
  const uint32_t wanted = (uint32_t{want_page} << 16) | want_usage;

  for (size_t i = 0; i < d.size();) {
    uint8_t prefix = d[i];
    if (prefix == kLongItem) {
      if (i + 1 >= d.size()) return false;
      i += 3 + d[i + 1];
      continue;
    }
    size_t size = prefix & 0x03;
    if (size == 3) size = 4;
    if (i + 1 + size > d.size()) return false;
    uint32_t raw = 0;
    for (size_t k = 0; k < size; ++k) raw |= uint32_t{d[i + 1 + k]} << (8 * k);
    i += 1 + size;
    const uint8_t item = prefix & 0xFC;

    switch (item) {
      case kItemUsagePage: g.usage_page = static_cast<uint16_t>(raw); break;
      case kItemLogicalMin: g.logical_min = signed_value(raw, size); break;
      case kItemLogicalMax:
        // A maximum that reads below the minimum was meant unsigned (e.g. 26 ff ff).
        g.logical_max = signed_value(raw, size);
        if (g.logical_max < g.logical_min && size < 4) g.logical_max = static_cast<int32_t>(raw);
        break;
      case kItemReportSize: g.report_size = raw; break;
      case kItemReportCount: g.report_count = raw; break;
      case kItemReportId:
        g.report_id = static_cast<uint8_t>(raw);
        uses_ids_ = true;
        break;
      case kItemPush: stack.push_back(g); break;
      case kItemPop:
        if (stack.empty()) return false;
        g = stack.back();
        stack.pop_back();
        break;
      case kItemUsage: l.usages.push_back(extended(raw, size, g.usage_page)); break;
      case kItemUsageMin:
        l.usage_min = extended(raw, size, g.usage_page);
        l.has_min = true;
        break;
      case kItemUsageMax:
        l.usage_max = extended(raw, size, g.usage_page);
        l.has_max = true;
        break;
      case kItemCollection:
        if (depth == 0) in_wanted = !l.usages.empty() && l.usages.front() == wanted;
        ++depth;
        l = Locals{};
        break;
      case kItemEndCollection:
        if (depth == 0) return false;
        if (--depth == 0) in_wanted = false;
        l = Locals{};
        break;
      case kItemInput:
      case kItemOutput:
      case kItemFeature: {
        auto key = std::make_pair(static_cast<int>(item), g.report_id);
        uint32_t& at = bits[key];
        const bool candidate = item == kItemInput && in_wanted && !found &&
                               !(raw & kMainConstant) && !(raw & kMainVariable) &&
                               static_cast<int>(g.report_id) != skip_report_id &&
                               g.report_size > 0 && g.report_size <= kMaxFieldBits &&
                               g.report_count > 0;
        if (candidate && ((l.has_min && l.has_max) || !l.usages.empty())) {
          found = true;
          report_id_ = g.report_id;
          bit_offset_ = at;
          bit_size_ = g.report_size;
          logical_min_ = g.logical_min;
          logical_max_ = g.logical_max;
          range_ = l.has_min && l.has_max;
          usage_min_ = static_cast<uint16_t>(l.usage_min & 0xFFFF);
          usage_max_ = static_cast<uint16_t>(l.usage_max & 0xFFFF);
          for (uint32_t u : l.usages) usage_list_.push_back(static_cast<uint16_t>(u & 0xFFFF));
        }
        at += g.report_size * g.report_count;
        l = Locals{};
        break;
      }
      default: break;
    }
  }
  if (!found || depth != 0) return false;
  const uint32_t total_bits = bits[std::make_pair(static_cast<int>(kItemInput), report_id_)];
  report_bytes_ = (total_bits + 7) / 8 + (uses_ids_ ? 1 : 0);
  ready_ = true;
  return true;
}

std::optional<std::vector<uint8_t>> EventEncoder::encode(uint16_t code) const {
  if (!ready_) return std::nullopt;
  int64_t index = -1;
  if (range_) {
    if (code >= usage_min_ && code <= usage_max_) index = code - usage_min_;
  } else {
    for (size_t k = 0; k < usage_list_.size(); ++k) {
      if (usage_list_[k] == code) index = static_cast<int64_t>(k);
    }
  }
  if (index < 0) return std::nullopt;
  const int64_t value = logical_min_ + index;
  if (value > logical_max_) return std::nullopt;
  std::vector<uint8_t> report(report_bytes_, 0);
  size_t base = 0;
  if (uses_ids_) {
    report[0] = report_id_;
    base = 1;
  }
  const uint64_t v = static_cast<uint64_t>(value);
  for (uint32_t b = 0; b < bit_size_; ++b) {
    if ((v >> b) & 1) {
      uint32_t bit = bit_offset_ + b;
      report[base + bit / 8] |= static_cast<uint8_t>(1u << (bit % 8));
    }
  }
  return report;
}

}  // namespace qxr::emu
