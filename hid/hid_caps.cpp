#include "hid/hid_caps.h"

#include <algorithm>

namespace qxr::hid {
namespace {

size_t idx(ReportType t) { return static_cast<size_t>(t); }
uint16_t page_of(uint32_t extended) { return static_cast<uint16_t>(extended >> 16); }
uint16_t id_of(uint32_t extended) { return static_cast<uint16_t>(extended & 0xFFFF); }

HidCap base_cap(const ReportDescriptor& desc, const MainField& f) {
  HidCap c;
  c.report_bytes = 1 + (desc.report_bits(f.type, f.report_id) + 7) / 8;
  c.type = f.type;
  c.report_id = f.report_id;
  c.bit_offset = f.bit_offset;
  c.bit_size = f.report_size;
  c.report_count = f.report_count;
  c.logical_min = f.logical_min;
  c.logical_max = f.logical_max;
  c.physical_min = f.physical_min;
  c.physical_max = f.physical_max;
  return c;
}

void set_usage(HidCap* c, uint32_t extended) {
  c->usage_page = page_of(extended);
  c->usage_min = c->usage_max = id_of(extended);
}

void add_field(const ReportDescriptor& desc, const MainField& f, CollectionCaps* caps) {
  if (f.is_constant() || f.report_count == 0 || f.report_size == 0) return;
  const bool button = f.is_array() || f.report_size == 1;
  auto& list = button ? caps->buttons[idx(f.type)] : caps->values[idx(f.type)];
  if (f.usage_is_range) {
    HidCap c = base_cap(desc, f);
    c.is_range = true;
    c.is_array = f.is_array();
    c.usage_page = page_of(f.usages[0]);
    c.usage_min = id_of(f.usages[0]);
    c.usage_max = std::max(c.usage_min, id_of(f.usages[1]));
    list.push_back(c);
    return;
  }
  if (f.usages.empty()) {
    HidCap c = base_cap(desc, f);
    c.is_array = f.is_array();
    list.push_back(c);
    return;
  }
  if (f.is_array()) {
    // An array with a usage list selects list[value - logical minimum]: one capability per
    // usage, each remembering the element value that selects it.
    for (size_t k = 0; k < f.usages.size(); ++k) {
      HidCap c = base_cap(desc, f);
      c.is_array = true;
      set_usage(&c, f.usages[k]);
      c.array_value = f.logical_min + static_cast<int32_t>(k);
      list.push_back(c);
    }
    return;
  }
  // Variable item with a usage list: element k has usage k, the last usage repeats for the
  // remaining elements.
  const size_t n = f.usages.size();
  for (size_t k = 0; k < n && k < f.report_count; ++k) {
    HidCap c = base_cap(desc, f);
    set_usage(&c, f.usages[k]);
    c.bit_offset = f.bit_offset + static_cast<uint32_t>(k) * f.report_size;
    c.report_count = (k + 1 == n) ? f.report_count - static_cast<uint32_t>(k) : 1;
    list.push_back(c);
  }
}

uint32_t extract_bits(const uint8_t* data, uint32_t bit_offset, uint32_t bit_size) {
  uint64_t v = 0;
  for (uint32_t b = 0; b < bit_size; ++b) {
    const uint32_t pos = bit_offset + b;
    if (data[pos / 8] & (1u << (pos % 8))) v |= uint64_t{1} << b;
  }
  return static_cast<uint32_t>(v);
}

int32_t to_signed(uint32_t raw, uint32_t bit_size, int32_t logical_min) {
  if (logical_min >= 0 || bit_size == 0 || bit_size >= 32) return static_cast<int32_t>(raw);
  const uint32_t sign = 1u << (bit_size - 1);
  return (raw & sign) ? static_cast<int32_t>(raw | ~((sign << 1) - 1)) : static_cast<int32_t>(raw);
}

// A report cut short is refused as a whole, as the HID parser does, not field by field.
bool report_long_enough(const HidCap& c, size_t length) { return length >= c.report_bytes; }

}  // namespace

bool build_collection_caps(const ReportDescriptor& desc, size_t collection, CollectionCaps* out) {
  *out = CollectionCaps{};
  if (collection >= desc.collections().size()) return false;
  const auto& tlc = desc.collections()[collection];
  out->usage_page = tlc.usage_page;
  out->usage = tlc.usage;
  for (const auto& f : desc.fields())
    if (f.collection == static_cast<int>(collection)) add_field(desc, f, out);
  for (size_t t = 0; t < kReportTypeCount; ++t)
    out->report_byte_length[t] = desc.report_byte_length(collection, static_cast<ReportType>(t));
  return true;
}

uint32_t max_usage_list_length(const CollectionCaps& caps, ReportType type, uint16_t usage_page) {
  uint32_t n = 0;
  for (const auto& c : caps.buttons[idx(type)]) {
    if (usage_page != 0 && c.usage_page != usage_page) continue;
    if (c.is_array)
      n += c.report_count;
    else if (c.is_range)
      n += std::min<uint32_t>(c.report_count, c.usage_max - c.usage_min + 1u);
    else
      n += c.report_count;
  }
  return n;
}

uint32_t get_usages(const CollectionCaps& caps, ReportType type, uint16_t usage_page,
                    const uint8_t* report, size_t length, uint16_t* usages, uint32_t* count) {
  const uint32_t room = *count;
  *count = 0;
  if (length == 0) return kStatusInvalidReportLength;
  bool page_seen = false, id_seen = false, too_small = false;
  auto add = [&](uint16_t u) {
    if (u == 0) return;  // usage 0 is "undefined" on every page: an empty array slot
    if (*count < room)
      usages[(*count)++] = u;
    else
      too_small = true;
  };
  for (const auto& c : caps.buttons[idx(type)]) {
    if (c.usage_page != usage_page) continue;
    page_seen = true;
    if (c.report_id != report[0]) continue;
    id_seen = true;
    if (!report_long_enough(c, length)) return kStatusInvalidReportLength;
    const uint8_t* data = report + 1;
    for (uint32_t e = 0; e < c.report_count; ++e) {
      const uint32_t raw = extract_bits(data, c.bit_offset + e * c.bit_size, c.bit_size);
      if (c.is_array) {
        const int32_t v = to_signed(raw, c.bit_size, c.logical_min);
        if (v < c.logical_min || v > c.logical_max) continue;  // "no control" value
        if (c.is_range) {
          const int64_t u = int64_t{c.usage_min} + (int64_t{v} - c.logical_min);
          if (u <= c.usage_max) add(static_cast<uint16_t>(u));
        } else if (v == c.array_value) {
          add(c.usage_min);
        }
      } else if (raw & 1u) {
        if (c.is_range) {
          const uint32_t u = c.usage_min + e;
          if (u <= c.usage_max) add(static_cast<uint16_t>(u));
        } else {
          add(c.usage_min);
        }
      }
    }
  }
  if (!page_seen) return kStatusUsageNotFound;
  if (!id_seen) return kStatusIncompatibleReportId;
  return too_small ? kStatusBufferTooSmall : kStatusSuccess;
}

namespace {

// The value capability covering the usage in the report's id, and the element it uses.
uint32_t find_value(const CollectionCaps& caps, ReportType type, uint16_t usage_page,
                    uint16_t usage, uint8_t report_id, const HidCap** cap, uint32_t* element) {
  bool seen = false;
  for (const auto& c : caps.values[idx(type)]) {
    if (c.usage_page != usage_page || usage < c.usage_min || usage > c.usage_max) continue;
    seen = true;
    if (c.report_id != report_id) continue;
    *cap = &c;
    *element = c.is_range ? static_cast<uint32_t>(usage - c.usage_min) : 0;
    if (*element >= c.report_count) return kStatusUsageNotFound;
    return kStatusSuccess;
  }
  return seen ? kStatusIncompatibleReportId : kStatusUsageNotFound;
}

}  // namespace

uint32_t get_usage_value(const CollectionCaps& caps, ReportType type, uint16_t usage_page,
                         uint16_t usage, const uint8_t* report, size_t length, uint32_t* value) {
  *value = 0;
  if (length == 0) return kStatusInvalidReportLength;
  const HidCap* c = nullptr;
  uint32_t element = 0;
  uint32_t st = find_value(caps, type, usage_page, usage, report[0], &c, &element);
  if (st != kStatusSuccess) return st;
  if (!report_long_enough(*c, length)) return kStatusInvalidReportLength;
  *value = extract_bits(report + 1, c->bit_offset + element * c->bit_size, c->bit_size);
  return kStatusSuccess;
}

uint32_t get_scaled_usage_value(const CollectionCaps& caps, ReportType type, uint16_t usage_page,
                                uint16_t usage, const uint8_t* report, size_t length,
                                int32_t* value) {
  *value = 0;
  if (length == 0) return kStatusInvalidReportLength;
  const HidCap* c = nullptr;
  uint32_t element = 0;
  uint32_t st = find_value(caps, type, usage_page, usage, report[0], &c, &element);
  if (st != kStatusSuccess) return st;
  if (!report_long_enough(*c, length)) return kStatusInvalidReportLength;
  const uint32_t raw = extract_bits(report + 1, c->bit_offset + element * c->bit_size, c->bit_size);
  const int64_t v = to_signed(raw, c->bit_size, c->logical_min);
  int64_t pmin = c->physical_min, pmax = c->physical_max;
  if (pmin == 0 && pmax == 0) {  // no physical extent given: it defaults to the logical one
    pmin = c->logical_min;
    pmax = c->logical_max;
  }
  if (c->logical_max <= c->logical_min || pmax <= pmin) return kStatusBadLogPhyValues;
  if (v < c->logical_min || v > c->logical_max) return kStatusValueOutOfRange;
  *value = static_cast<int32_t>((v - c->logical_min) * (pmax - pmin) /
                                    (int64_t{c->logical_max} - c->logical_min) +
                                pmin);
  return kStatusSuccess;
}

}  // namespace qxr::hid
