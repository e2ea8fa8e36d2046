#pragma once
// HID report-descriptor parser. It stands in for the preparsed data of other platforms: the
// top-level collections with their report ids, the main items with their bit positions, and
// the report byte lengths per collection counted as Windows counts them (report-id byte
// included, or one zero byte when the descriptor uses no report ids).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qxr::hid {

enum class ReportType : uint8_t { Input = 0, Output = 1, Feature = 2 };
inline constexpr size_t kReportTypeCount = 3;

// Bits of the Input/Output/Feature main item data.
inline constexpr uint32_t kMainConstant = 0x01;
inline constexpr uint32_t kMainVariable = 0x02;
inline constexpr uint32_t kMainRelative = 0x04;

// One Input, Output or Feature main item, with the local and global state in force for it.
struct MainField {
  ReportType type = ReportType::Input;
  uint8_t report_id = 0;        // 0 when the descriptor uses no report ids
  int collection = -1;          // 0-based index of its top-level collection, -1 outside any
  uint32_t flags = 0;
  uint32_t bit_offset = 0;      // from the first data bit, after the report-id byte
  uint32_t report_size = 0;     // bits per element
  uint32_t report_count = 0;
  // Usages as 32-bit extended usages (page << 16 | id), in the order given.
  std::vector<uint32_t> usages;
  bool usage_is_range = false;  // usages then holds {minimum, maximum}
  int32_t logical_min = 0, logical_max = 0;
  int32_t physical_min = 0, physical_max = 0;
  uint32_t unit = 0;
  int32_t unit_exponent = 0;

  bool is_constant() const { return flags & kMainConstant; }
  bool is_array() const { return !(flags & kMainVariable); }
};

struct TopLevelCollection {
  uint16_t usage_page = 0;
  uint16_t usage = 0;
  std::vector<uint8_t> report_ids;  // every report id of any type used inside it, ascending
};

class ReportDescriptor {
 public:
  // False on a malformed descriptor (truncated item, unbalanced collections, report id 0,
  // absurd sizes); the object is then empty.
  bool parse(const uint8_t* data, size_t size);
  bool parse(const std::vector<uint8_t>& bytes) { return parse(bytes.data(), bytes.size()); }
  void clear();

  const std::vector<uint8_t>& bytes() const { return bytes_; }
  bool empty() const { return collections_.empty(); }
  bool uses_report_ids() const { return uses_report_ids_; }
  const std::vector<TopLevelCollection>& collections() const { return collections_; }
  const std::vector<MainField>& fields() const { return fields_; }

  // Data bits of one report (without the report-id byte); 0 when there is no such report.
  uint32_t report_bits(ReportType type, uint8_t report_id) const;
  // Byte length of the longest report of the type in the collection, plus the report-id byte;
  // 0 when the collection has no report of that type.
  uint16_t report_byte_length(size_t collection, ReportType type) const;
  // Report ids of the type used in the collection, ascending.
  std::vector<uint8_t> report_ids(size_t collection, ReportType type) const;
  // The collection a report belongs to, or -1.
  int collection_of_report(ReportType type, uint8_t report_id) const;

 private:
  std::vector<uint8_t> bytes_;
  std::vector<TopLevelCollection> collections_;
  std::vector<MainField> fields_;
  bool uses_report_ids_ = false;
};

// "05 0c 09 01 ..." (whitespace-separated hex bytes) → bytes. False on any bad token.
bool parse_hex_bytes(const std::string& text, std::vector<uint8_t>* out);

}  // namespace qxr::hid
