#pragma once
// Device events on the consumer collection. The program unpacks such an input report and
// takes the first usage of its first usage array as the event code, so the encoder finds that
// array in the interface's report descriptor and puts the code there.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace qxr::emu {

inline constexpr uint16_t kEventSettingsChanged = 0x0401;
inline constexpr uint16_t kEventSettingsChangedAlt = 0x0402;
inline constexpr uint16_t kEventKeyPressBase = 0x0500;
inline constexpr uint16_t kEventKeyReleaseBase = 0x0600;
inline constexpr uint16_t kConsumerPage = 0x000C;
inline constexpr uint16_t kConsumerControl = 0x0001;

class EventEncoder {
 public:
  // Looks for the first usage array among the inputs of the top-level collection
  // (usage_page, usage), skipping reports with the id skip_report_id. False when there is none.
  bool init(const std::vector<uint8_t>& descriptor, uint16_t usage_page = kConsumerPage,
            uint16_t usage = kConsumerControl, int skip_report_id = -1);
  bool ready() const { return ready_; }
  uint8_t report_id() const { return report_id_; }
  size_t report_size() const { return report_bytes_; }  // id byte included when ids are used

  // The input report that announces `code`; nullopt when the array cannot carry it.
  std::optional<std::vector<uint8_t>> encode(uint16_t code) const;

 private:
  bool ready_ = false;
  bool uses_ids_ = false;
  uint8_t report_id_ = 0;
  size_t report_bytes_ = 0;
  uint32_t bit_offset_ = 0;
  uint32_t bit_size_ = 0;
  int32_t logical_min_ = 0;
  int32_t logical_max_ = 0;
  bool range_ = false;
  uint16_t usage_min_ = 0;
  uint16_t usage_max_ = 0;
  std::vector<uint16_t> usage_list_;
};

}  // namespace qxr::emu
