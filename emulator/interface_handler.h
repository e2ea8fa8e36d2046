#pragma once
// What the folder server needs of an emulated HID interface: its description (the JSON of the
// folder contract) and an answer to each report a connection writes. Any device model that
// implements this can be dropped into a folder.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qxr::emu {

struct InterfaceDescription {
  std::string id;  // <id>.json and <id>.sock
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint8_t interface_number = 0;
  std::vector<uint8_t> report_descriptor;
  std::string name;
};

// An input report to send to every open connection, after delay_ms.
struct Outgoing {
  std::vector<uint8_t> report;
  uint32_t delay_ms = 0;
};

struct HandlerResult {
  std::vector<Outgoing> reports;
  bool unplug = false;  // unplug the interface once the reports are out
};

class InterfaceHandler {
 public:
  virtual ~InterfaceHandler() = default;
  // One packet written by a connection: one output report, report id first. Called on the
  // server thread; it may be called while other threads use the handler.
  virtual HandlerResult on_output_report(const uint8_t* data, size_t size) = 0;
};

}  // namespace qxr::emu
