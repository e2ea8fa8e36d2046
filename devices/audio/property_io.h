#pragma once
// Typed property access over AudioConfLib with the four 1024-byte buffers the headset keeps:
// value and extra for writing, value and extra for reading.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "devices/audio/audio_conf.h"

namespace qxr::audio {

// Leading integers of an extra buffer; empty means "no extra buffer".
using Extra = std::span<const int32_t>;

class PropertyIo {
 public:
  explicit PropertyIo(AudioConfLib& lib) : lib_(lib) {}

  // The value as text; nullopt when the call fails.
  std::optional<std::string> read_text(const AudioDeviceInfo& device, std::string_view name,
                                       Extra extra = {});
  // The value read as a decimal number; nullopt when the call fails or the text is no number.
  std::optional<double> read_number(const AudioDeviceInfo& device, std::string_view name,
                                    Extra extra = {});
  bool write_int(const AudioDeviceInfo& device, std::string_view name, int32_t value,
                 Extra extra = {});
  bool write_float(const AudioDeviceInfo& device, std::string_view name, float value,
                   Extra extra = {});
  // The backend's answer to the last call (CONF_OK, CONF_ERR_UNSUPPORTED, ...).
  int last_result() const { return last_result_; }

 private:
  bool write(const AudioDeviceInfo& device, std::string_view name, Extra extra);
  static std::span<uint8_t> fill_extra(std::array<uint8_t, PROPERTY_BUFFER_SIZE>& buffer,
                                       Extra extra);

  AudioConfLib& lib_;
  int last_result_ = CONF_OK;
  std::array<uint8_t, PROPERTY_BUFFER_SIZE> write_value_{};
  std::array<uint8_t, PROPERTY_BUFFER_SIZE> write_extra_{};
  std::array<uint8_t, PROPERTY_BUFFER_SIZE> read_value_{};
  std::array<uint8_t, PROPERTY_BUFFER_SIZE> read_extra_{};
};

}  // namespace qxr::audio
