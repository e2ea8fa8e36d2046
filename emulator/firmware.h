#pragma once
// One device's firmware: its memories and the answer to every command report. Not
// thread-safe; the owning EmulatedDevice serialises access.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulator/blob_image.h"
#include "emulator/firmware_layout.h"
#include "protocol/command_report.h"

namespace qxr::emu {

// Why a request was refused (the reply then carries status 0xFF).
enum class Refusal {
  kNone,
  kBadSize,          // not a 64-byte report
  kBadChecksum,
  kUnknownCommand,   // not a command this model answers
  kBadLength,        // page length above the page size
  kOutOfRange,       // page outside the command's memory or window
  kOutOfSequence,    // image page that does not continue the image
  kBadImage,         // macro or recoil image that fails its check
};
std::string_view refusal_name(Refusal refusal);

enum class ImageState { kEmpty, kReceiving, kValid, kInvalid };

struct ImageInfo {
  ImageState state = ImageState::kEmpty;
  size_t received = 0;  // contiguous bytes from address 0
  size_t announced = 0;  // total length from the header, 0 until known
  BlobError error = BlobError::kNone;
  std::vector<BlobRecord> records;  // when valid
};

struct FirmwareCounters {
  std::array<uint32_t, 256> per_command{};  // every request with a good checksum, by command
  uint32_t requests = 0;
  uint32_t refused = 0;
  uint32_t bad_checksum = 0;
  uint32_t unbracketed_writes = 0;  // memory writes outside CMD_BEGIN … CMD_END
  uint32_t light_frames = 0;        // light stream pages at address 0
  uint32_t led_reports = 0;
  uint32_t led_reports_refused = 0;
};

class Firmware {
 public:
  explicit Firmware(const FirmwareLayout& layout);

  const FirmwareLayout& layout() const { return layout_; }

  // Answers one command report (report id first). The reply echoes the command, length and
  // offset, carries the status and the data read.
  protocol::CommandReport handle_command(const uint8_t* report, size_t size);
  // A headset LED output report. False when refused (bad size, side, part or value).
  bool handle_led_report(const uint8_t* report, size_t size);

  Refusal last_refusal() const { return last_refusal_; }
  const FirmwareCounters& counters() const { return counters_; }
  void reset_counters() { counters_ = FirmwareCounters{}; }

  // Memory contents. kLightFrame is the last frame streamed (up to its highest byte written),
  // kHeadsetLeds 2 sides × 13 LEDs × (red, green, blue).
  std::vector<uint8_t> memory(Memory memory) const;
  // Profile p's settings block as written (write layout).
  std::vector<uint8_t> settings_block(uint8_t profile) const;
  const ImageInfo& macro_image() const { return macro_; }
  const ImageInfo& recoil_image() const { return recoil_; }
  bool in_transaction() const { return in_transaction_; }
  bool host_lighting() const { return host_lighting_; }

  // The device's own side.
  uint8_t active_profile() const;
  bool set_active_profile(uint8_t profile);
  void set_status_byte(size_t index, uint8_t value);
  void set_linked(bool linked) { linked_ = linked; }
  bool linked() const { return linked_; }
  // Overwrites one memory byte range (test set-up); false when out of range.
  bool poke(Memory memory, size_t address, const std::vector<uint8_t>& bytes);

 private:
  bool page_allowed(const CommandEntry& entry, size_t address, size_t length) const;
  Refusal write_page(Memory memory, size_t address, const uint8_t* data, size_t length);
  Refusal write_image_page(ImageInfo& image, std::vector<uint8_t>& mem, int expected_records,
                           size_t address, const uint8_t* data, size_t length);
  std::vector<uint8_t>& mem(Memory m) { return memories_[static_cast<size_t>(m)]; }
  const std::vector<uint8_t>& mem(Memory m) const { return memories_[static_cast<size_t>(m)]; }

  const FirmwareLayout& layout_;
  std::array<std::vector<uint8_t>, kMemoryCount> memories_;
  size_t light_frame_end_ = 0;
  ImageInfo macro_;
  ImageInfo recoil_;
  bool in_transaction_ = false;
  bool host_lighting_ = false;
  bool linked_ = true;
  Refusal last_refusal_ = Refusal::kNone;
  FirmwareCounters counters_;
};

}  // namespace qxr::emu
