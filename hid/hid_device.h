#pragma once
// One HID interface (top-level collection): enumeration of interface paths, open with
// capabilities from the report descriptor, timed and cancellable whole-report I/O.
//
// A path is either a hidraw node with a self-describing suffix
// ("/dev/hidraw3#vid_320f&pid_5055&mi_01&col04") or an emulated interface in an emulator
// folder ("<dir>/<id>.sock#vid_...&mi_..&col.."). Both are file descriptors that carry one
// report per read/write, so the I/O below is the same for both.
#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/stop_event.h"
#include "hid/hid_caps.h"
#include "hid/report_descriptor.h"

namespace qxr::hid {

class BlockingWriter;

inline constexpr int kInfinite = qxr::kInfinite;

struct HidCaps {
  uint16_t usage = 0;
  uint16_t usage_page = 0;
  // Byte lengths as Windows counts them: the longest report of the type plus the report-id byte
  // (or the report alone when the descriptor uses no report ids, plus one zero byte).
  uint16_t input_report_byte_length = 0;
  uint16_t output_report_byte_length = 0;
  uint16_t feature_report_byte_length = 0;
  uint16_t number_input_button_caps = 0;
  uint16_t number_input_value_caps = 0;
  uint16_t number_output_button_caps = 0;
  uint16_t number_output_value_caps = 0;
  uint16_t number_feature_button_caps = 0;
  uint16_t number_feature_value_caps = 0;
};

struct HidAttributes {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t version = 0;
};

// One per button capability and one per usage covered by a value capability.
struct HidData {
  bool is_button = false;
  uint16_t usage_page = 0;
  uint32_t status = 0;  // kHidpStatusSuccess after a good access
  uint32_t report_id = 0;
  bool data_set = false;
  // button part
  uint32_t usage_min = 0;
  uint32_t usage_max = 0;
  uint32_t max_usage_length = 0;
  std::vector<uint16_t> usages;  // max_usage_length entries, 0-terminated when shorter
  // value part
  uint16_t usage = 0;
  uint32_t raw_value = 0;
  int32_t scaled_value = 0;
};

inline constexpr uint32_t kHidpStatusSuccess = 0x00110000;  // == kStatusSuccess

// Bounds set_output_report, which has no caller timeout.
inline constexpr int kSetOutputReportTimeoutMs = 1000;

class HidDevice {
 public:
  HidDevice();
  ~HidDevice();
  HidDevice(const HidDevice&) = delete;
  HidDevice& operator=(const HidDevice&) = delete;

  // Enumeration (the discovery thread's instance).
  bool enumerate();
  const std::string* next_path();  // owned by the list; nullptr when exhausted
  void clear_paths();
  size_t path_count() const;

  // Opening. read/write select the access; overlapped is accepted for fidelity (all I/O here is
  // timed and cancellable); exclusive refuses a second open of the same interface.
  bool open(const std::string& path, bool read, bool write, bool overlapped, bool exclusive);
  bool reopen();
  void close();
  bool is_open() const;
  // Releases a read or write that is waiting (also one with kInfinite timeout).
  void cancel();
  // Name of the helper thread that runs this interface's blocking writes (see
  // core/thread_name.h); taken by the next open.
  void set_writer_name(std::string name);

  // One report each. timeout_ms may be kInfinite. False on failure, timeout, cancel or unplug.
  // A report of another collection of the same node is never delivered by read().
  bool read(uint8_t* buffer, size_t length, size_t* transferred, int timeout_ms);
  // As read(), and also false as soon as stop is set: a thread that checks its stop event and
  // then reads without timeout cannot miss a stop that comes in between.
  bool read(uint8_t* buffer, size_t length, size_t* transferred, int timeout_ms,
            const StopEvent& stop);
  bool write(const uint8_t* buffer, size_t length, size_t* transferred, int timeout_ms);
  // Counterpart of HidD_SetOutputReport: one output report, synchronous, bounded time.
  bool set_output_report(const uint8_t* buffer, size_t length);
  // Reads and discards every input report queued now, without waiting. Returns how many.
  size_t drain();

  const HidCaps& caps() const { return caps_; }
  const HidAttributes& attributes() const { return attributes_; }
  std::vector<uint8_t>& input_report_buffer() { return input_report_; }
  std::vector<HidData>& input_data() { return input_data_; }
  const ReportDescriptor& descriptor() const { return descriptor_; }

  // Fills the input HidData records whose report id matches the report's first byte.
  bool unpack_input_report(const uint8_t* report, size_t length);
  // The same on a caller-owned record array, e.g. one copied from input_data().
  bool unpack_input_report(const uint8_t* report, size_t length, std::vector<HidData>& data) const;

  uint16_t interface_number() const { return interface_number_; }
  uint16_t collection_number() const { return collection_number_; }
  const std::string& path() const { return path_; }
  // Last failure of open/read/write in words ("read: device gone"), for diagnostics.
  std::string last_error() const;

 private:
  struct Impl;
  class Transfer;
  class WriteTurn;
  bool read_report(uint8_t* buffer, size_t length, size_t* transferred, int timeout_ms,
                   int stop_fd);
  bool write_socket(int fd, const uint8_t* buffer, size_t length, size_t* transferred,
                    int timeout_ms);
  enum class WaitResult { Done, TimedOut, Cancelled, Failed };
  WaitResult wait_writer(BlockingWriter& writer, int timeout_ms,
                         std::chrono::steady_clock::time_point deadline);
  bool write_blocking(std::function<ssize_t()> job, size_t length, size_t* transferred,
                      int timeout_ms, const char* what);
  bool kind_is_socket() const;

  Impl* impl_;
  std::string path_;
  bool opt_read_ = false, opt_write_ = false, opt_overlapped_ = false, opt_exclusive_ = false;
  HidCaps caps_;
  HidAttributes attributes_;
  ReportDescriptor descriptor_;
  std::vector<uint8_t> input_report_;
  std::vector<HidData> input_data_;
  uint16_t interface_number_ = 0;
  uint16_t collection_number_ = 0;
};

// The input HidData records of a collection: one per button capability (with a zeroed usage
// list of the longest length its usage page can report), one per usage of each value capability.
std::vector<HidData> build_input_data(const CollectionCaps& caps);

// The unpack algorithm on explicit capabilities: for every record whose report id is the
// report's first byte, buttons get the usages of their range (0-terminated), values their raw
// and scaled value. False at once when a value cannot be read.
bool unpack_with_caps(const CollectionCaps& caps, const uint8_t* report, size_t length,
                      std::vector<HidData>& data);

// Path helpers: case-insensitive search for the marker, then "%x". 0 when absent.
uint16_t vendor_from_path(const std::string& path);
uint16_t product_from_path(const std::string& path);
uint16_t interface_from_path(const std::string& path);
uint16_t collection_from_path(const std::string& path);

}  // namespace qxr::hid
