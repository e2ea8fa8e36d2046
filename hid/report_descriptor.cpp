#include "hid/report_descriptor.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <utility>

namespace qxr::hid {
namespace {

// Short-item prefix: bits 0-1 size code, 2-3 type, 4-7 tag.
constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr int kTypeMain = 0, kTypeGlobal = 1, kTypeLocal = 2;

constexpr int kMainInput = 0x8, kMainOutput = 0x9, kMainCollection = 0xA, kMainFeature = 0xB,
              kMainEndCollection = 0xC;
constexpr int kGlobalUsagePage = 0x0, kGlobalLogicalMin = 0x1, kGlobalLogicalMax = 0x2,
              kGlobalPhysicalMin = 0x3, kGlobalPhysicalMax = 0x4, kGlobalUnitExponent = 0x5,
              kGlobalUnit = 0x6, kGlobalReportSize = 0x7, kGlobalReportId = 0x8,
              kGlobalReportCount = 0x9, kGlobalPush = 0xA, kGlobalPop = 0xB;
constexpr int kLocalUsage = 0x0, kLocalUsageMin = 0x1, kLocalUsageMax = 0x2;

// Guards against descriptors that would make us allocate or count without bound.
constexpr uint32_t kMaxReportSizeBits = 32;
constexpr uint32_t kMaxReportCount = 4096;
constexpr uint32_t kMaxReportBits = 8 * 4096;
constexpr size_t kMaxGlobalStack = 16;
constexpr size_t kMaxLocalUsages = 1024;

struct Globals {
  uint32_t usage_page = 0;
  int64_t logical_min_raw = 0, logical_max_raw = 0;   // sign-extended
  uint32_t logical_max_u = 0, physical_max_u = 0;     // zero-extended
  int64_t physical_min_raw = 0, physical_max_raw = 0;
  uint32_t unit = 0;
  int32_t unit_exponent = 0;
  uint32_t report_size = 0;
  uint32_t report_count = 0;
  uint8_t report_id = 0;
};

struct Locals {
  std::vector<uint32_t> usages;
  bool has_min = false, has_max = false;
  uint32_t usage_min = 0, usage_max = 0;
  void clear() { *this = Locals{}; }
};

uint32_t extend_usage(uint32_t value, size_t size, uint32_t page) {
  return size == 4 ? value : (page << 16) | (value & 0xFFFF);
}

int64_t sign_extend(uint32_t value, size_t size) {
  switch (size) {
    case 1: return static_cast<int8_t>(value);
    case 2: return static_cast<int16_t>(value);
    case 4: return static_cast<int32_t>(value);
    default: return 0;
  }
}

// A maximum is read unsigned unless its minimum is negative (descriptors commonly write
// Logical Maximum 255 as the single byte ff).
int32_t resolve_max(int64_t min, int64_t max_signed, uint32_t max_unsigned) {
  return static_cast<int32_t>(min < 0 ? max_signed : static_cast<int64_t>(max_unsigned));
}

size_t type_index(ReportType t) { return static_cast<size_t>(t); }

}  // namespace

void ReportDescriptor::clear() {
  bytes_.clear();
  collections_.clear();
  fields_.clear();
  uses_report_ids_ = false;
}

bool ReportDescriptor::parse(const uint8_t* data, size_t size) {
  clear();
  Globals g;
  std::vector<Globals> stack;
  Locals local;
  int depth = 0;
  int top = -1;
  // Running bit position per (type, report id).
  std::map<std::pair<size_t, uint8_t>, uint32_t> bits;

  auto fail = [this] {
    clear();
    return false;
  };

  size_t i = 0;
  while (i < size) {
    const uint8_t prefix = data[i];
    if (prefix == kLongItemPrefix) {
      if (i + 2 >= size) return fail();
      const size_t len = data[i + 1];
      if (i + 3 + len > size) return fail();
      i += 3 + len;  // long items carry nothing we use
      continue;
    }
    static constexpr std::array<size_t, 4> kSizes{0, 1, 2, 4};
    const size_t item_size = kSizes[prefix & 0x3];
    const int type = (prefix >> 2) & 0x3;
    const int tag = prefix >> 4;
    if (i + 1 + item_size > size) return fail();
    uint32_t value = 0;
    for (size_t b = 0; b < item_size; ++b) value |= static_cast<uint32_t>(data[i + 1 + b]) << (8 * b);
    i += 1 + item_size;

    if (type == kTypeMain) {
      if (tag == kMainCollection) {
        if (depth == 0) {
          TopLevelCollection c;
          uint32_t usage = !local.usages.empty() ? local.usages.front()
                           : local.has_min      ? local.usage_min
                                                : 0;
          c.usage_page = static_cast<uint16_t>(usage >> 16);
          c.usage = static_cast<uint16_t>(usage & 0xFFFF);
          collections_.push_back(c);
          top = static_cast<int>(collections_.size()) - 1;
        }
        ++depth;
      } else if (tag == kMainEndCollection) {
        if (depth == 0) return fail();
        if (--depth == 0) top = -1;
      } else if (tag == kMainInput || tag == kMainOutput || tag == kMainFeature) {
        MainField f;
        f.type = tag == kMainInput ? ReportType::Input
                 : tag == kMainOutput ? ReportType::Output
                                      : ReportType::Feature;
        f.report_id = g.report_id;
        f.collection = top;
        f.flags = value;
        f.report_size = g.report_size;
        f.report_count = g.report_count;
        if (f.report_size > kMaxReportSizeBits || f.report_count > kMaxReportCount) return fail();
        if (local.has_min || local.has_max) {
          f.usage_is_range = true;
          f.usages = {local.usage_min, local.has_max ? local.usage_max : local.usage_min};
        } else {
          f.usages = local.usages;
        }
        f.logical_min = static_cast<int32_t>(g.logical_min_raw);
        f.logical_max = resolve_max(g.logical_min_raw, g.logical_max_raw, g.logical_max_u);
        f.physical_min = static_cast<int32_t>(g.physical_min_raw);
        f.physical_max = resolve_max(g.physical_min_raw, g.physical_max_raw, g.physical_max_u);
        f.unit = g.unit;
        f.unit_exponent = g.unit_exponent;
        uint32_t& pos = bits[{type_index(f.type), f.report_id}];
        f.bit_offset = pos;
        pos += f.report_size * f.report_count;
        if (pos > kMaxReportBits) return fail();
        if (top >= 0) {
          auto& ids = collections_[static_cast<size_t>(top)].report_ids;
          if (std::find(ids.begin(), ids.end(), f.report_id) == ids.end()) ids.push_back(f.report_id);
        }
        fields_.push_back(std::move(f));
      }
      local.clear();  // local items apply to the next main item only
    } else if (type == kTypeGlobal) {
      switch (tag) {
        case kGlobalUsagePage: g.usage_page = value & 0xFFFF; break;
        case kGlobalLogicalMin: g.logical_min_raw = sign_extend(value, item_size); break;
        case kGlobalLogicalMax:
          g.logical_max_raw = sign_extend(value, item_size);
          g.logical_max_u = value;
          break;
        case kGlobalPhysicalMin: g.physical_min_raw = sign_extend(value, item_size); break;
        case kGlobalPhysicalMax:
          g.physical_max_raw = sign_extend(value, item_size);
          g.physical_max_u = value;
          break;
        case kGlobalUnitExponent: g.unit_exponent = static_cast<int32_t>(sign_extend(value, item_size)); break;
        case kGlobalUnit: g.unit = value; break;
        case kGlobalReportSize: g.report_size = value; break;
        case kGlobalReportId:
          if (value == 0 || value > 0xFF) return fail();
          g.report_id = static_cast<uint8_t>(value);
          uses_report_ids_ = true;
          break;
        case kGlobalReportCount: g.report_count = value; break;
        case kGlobalPush:
          if (stack.size() >= kMaxGlobalStack) return fail();
          stack.push_back(g);
          break;
        case kGlobalPop:
          if (stack.empty()) return fail();
          g = stack.back();
          stack.pop_back();
          break;
        default: break;
      }
    } else if (type == kTypeLocal) {
      switch (tag) {
        case kLocalUsage:
          if (local.usages.size() >= kMaxLocalUsages) return fail();
          local.usages.push_back(extend_usage(value, item_size, g.usage_page));
          break;
        case kLocalUsageMin:
          local.has_min = true;
          local.usage_min = extend_usage(value, item_size, g.usage_page);
          break;
        case kLocalUsageMax:
          local.has_max = true;
          local.usage_max = extend_usage(value, item_size, g.usage_page);
          break;
        default: break;  // designators, strings, delimiters: unused
      }
    }
  }
  if (depth != 0) return fail();
  // A descriptor that mixes numbered and unnumbered reports is not valid.
  if (uses_report_ids_) {
    for (const auto& f : fields_)
      if (f.report_id == 0) return fail();
  }
  for (auto& c : collections_) std::sort(c.report_ids.begin(), c.report_ids.end());
  bytes_.assign(data, data + size);
  return true;
}

uint32_t ReportDescriptor::report_bits(ReportType type, uint8_t report_id) const {
  uint32_t end = 0;
  for (const auto& f : fields_)
    if (f.type == type && f.report_id == report_id)
      end = std::max(end, f.bit_offset + f.report_size * f.report_count);
  return end;
}

uint16_t ReportDescriptor::report_byte_length(size_t collection, ReportType type) const {
  uint32_t longest = 0;
  bool any = false;
  for (uint8_t id : report_ids(collection, type)) {
    any = true;
    longest = std::max(longest, (report_bits(type, id) + 7) / 8);
  }
  return any ? static_cast<uint16_t>(longest + 1) : 0;
}

std::vector<uint8_t> ReportDescriptor::report_ids(size_t collection, ReportType type) const {
  std::vector<uint8_t> ids;
  for (const auto& f : fields_) {
    if (f.type != type || f.collection != static_cast<int>(collection)) continue;
    if (std::find(ids.begin(), ids.end(), f.report_id) == ids.end()) ids.push_back(f.report_id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

int ReportDescriptor::collection_of_report(ReportType type, uint8_t report_id) const {
  for (const auto& f : fields_)
    if (f.type == type && f.report_id == report_id && f.collection >= 0) return f.collection;
  return -1;
}

bool parse_hex_bytes(const std::string& text, std::vector<uint8_t>* out) {
  out->clear();
  size_t i = 0;
  auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  while (i < text.size()) {
    if (std::isspace(static_cast<unsigned char>(text[i])) || text[i] == ',') {
      ++i;
      continue;
    }
    if (text.compare(i, 2, "0x") == 0 || text.compare(i, 2, "0X") == 0) i += 2;
    size_t start = i;
    int v = 0;
    while (i < text.size() && hex(text[i]) >= 0 && i - start < 2) v = v * 16 + hex(text[i++]);
    if (i == start) return false;
    if (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])) && text[i] != ',')
      return false;
    out->push_back(static_cast<uint8_t>(v));
  }
  return true;
}

}  // namespace qxr::hid
