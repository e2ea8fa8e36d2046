// A device's report descriptor, and one input report read against it, as the transport meets
// them: the descriptor is parsed, every collection's capabilities are built and the report is
// unpacked into each collection's records.
//
// Input: descriptor bytes, then a report of n bytes, then the byte n (0 when there is none).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "hid/hid_caps.h"
#include "hid/hid_device.h"
#include "hid/report_descriptor.h"

using namespace qxr::hid;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t report_size = std::min<size_t>(data[size - 1], size - 1);
  const size_t descriptor_size = size - 1 - report_size;
  const uint8_t* report = data + descriptor_size;

  ReportDescriptor desc;
  if (!desc.parse(data, descriptor_size)) return 0;
  for (size_t c = 0; c < desc.collections().size(); ++c) {
    for (size_t t = 0; t < kReportTypeCount; ++t) {
      const auto type = static_cast<ReportType>(t);
      (void)desc.report_byte_length(c, type);
      for (uint8_t id : desc.report_ids(c, type)) {
        (void)desc.report_bits(type, id);
        (void)desc.collection_of_report(type, id);
      }
    }
    CollectionCaps caps;
    if (!build_collection_caps(desc, c, &caps)) continue;
    std::vector<HidData> records = build_input_data(caps);
    if (report_size > 0) (void)unpack_with_caps(caps, report, report_size, records);
  }
  return 0;
}
