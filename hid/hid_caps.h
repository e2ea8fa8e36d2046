#pragma once
// Capabilities of one top-level collection, derived from the report descriptor the way the
// Windows HID parser lays them out, and the usage/value extraction from a received report.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "hid/report_descriptor.h"

namespace qxr::hid {

// Status codes of the usage and value accessors (the values of the HIDP_STATUS_* family).
inline constexpr uint32_t kStatusSuccess = 0x00110000;
inline constexpr uint32_t kStatusInvalidReportLength = 0xC0110003;
inline constexpr uint32_t kStatusUsageNotFound = 0xC0110004;
inline constexpr uint32_t kStatusValueOutOfRange = 0xC0110005;
inline constexpr uint32_t kStatusBadLogPhyValues = 0xC0110006;
inline constexpr uint32_t kStatusBufferTooSmall = 0xC0110007;
inline constexpr uint32_t kStatusIncompatibleReportId = 0xC011000A;

// One button or value capability: a run of elements of one main item with one usage or a
// usage range.
struct HidCap {
  ReportType type = ReportType::Input;
  uint8_t report_id = 0;
  uint16_t usage_page = 0;
  bool is_range = false;
  uint16_t usage_min = 0, usage_max = 0;  // both the usage when not a range
  bool is_array = false;                  // buttons: element values select usages
  int32_t array_value = 0;                // array with a usage list: the value selecting it
  uint32_t bit_offset = 0;                // first element, after the report-id byte
  uint32_t bit_size = 0;                  // per element
  uint32_t report_count = 0;
  uint32_t report_bytes = 0;              // whole report with its report-id byte
  int32_t logical_min = 0, logical_max = 0;
  int32_t physical_min = 0, physical_max = 0;
};

struct CollectionCaps {
  uint16_t usage_page = 0, usage = 0;
  uint16_t report_byte_length[kReportTypeCount] = {0, 0, 0};
  std::vector<HidCap> buttons[kReportTypeCount];
  std::vector<HidCap> values[kReportTypeCount];
};

// Caps of collection index (0-based) of the descriptor. False when there is no such collection.
bool build_collection_caps(const ReportDescriptor& desc, size_t collection, CollectionCaps* out);

// The longest usage list get_usages can return for the type and usage page.
uint32_t max_usage_list_length(const CollectionCaps& caps, ReportType type, uint16_t usage_page);

// Usages of the page that are on in the report (report[0] is its report id). *count is the room
// in usages on entry and the number written on return.
uint32_t get_usages(const CollectionCaps& caps, ReportType type, uint16_t usage_page,
                    const uint8_t* report, size_t length, uint16_t* usages, uint32_t* count);

uint32_t get_usage_value(const CollectionCaps& caps, ReportType type, uint16_t usage_page,
                         uint16_t usage, const uint8_t* report, size_t length, uint32_t* value);

uint32_t get_scaled_usage_value(const CollectionCaps& caps, ReportType type, uint16_t usage_page,
                                uint16_t usage, const uint8_t* report, size_t length,
                                int32_t* value);

}  // namespace qxr::hid
