#include "devices/audio/property_io.h"

#include "core/debug_line.h"
#include "devices/audio/property_text.h"

namespace qxr::audio {

std::span<uint8_t> PropertyIo::fill_extra(std::array<uint8_t, PROPERTY_BUFFER_SIZE>& buffer,
                                          Extra extra) {
  if (extra.empty()) return {};
  buffer.fill(0);
  size_t i = 0;
  for (int32_t v : extra) put_int32(buffer, i++, v);
  return buffer;
}

std::optional<std::string> PropertyIo::read_text(const AudioDeviceInfo& device,
                                                 std::string_view name, Extra extra) {
  read_value_.fill(0);
  const int rc = lib_.PropertyControl(device, name, read_value_, fill_extra(read_extra_, extra),
                                      PROPERTY_READ);
  last_result_ = rc;
  if (rc != CONF_OK) {
    debug_fmt("PropertyControl {} read failed: {}", name, rc);
    return std::nullopt;
  }
  return std::string(buffer_text(read_value_));
}

std::optional<double> PropertyIo::read_number(const AudioDeviceInfo& device,
                                              std::string_view name, Extra extra) {
  const auto text = read_text(device, name, extra);
  if (!text) return std::nullopt;
  const auto value = parse_decimal(*text);
  if (!value) debug_fmt("PropertyControl {} read no number: \"{}\"", name, *text);
  return value;
}

bool PropertyIo::write_int(const AudioDeviceInfo& device, std::string_view name, int32_t value,
                           Extra extra) {
  write_value_.fill(0);
  put_int32(write_value_, 0, value);
  return write(device, name, extra);
}

bool PropertyIo::write_float(const AudioDeviceInfo& device, std::string_view name, float value,
                             Extra extra) {
  write_value_.fill(0);
  put_float(write_value_, value);
  return write(device, name, extra);
}

bool PropertyIo::write(const AudioDeviceInfo& device, std::string_view name, Extra extra) {
  const int rc = lib_.PropertyControl(device, name, write_value_,
                                      fill_extra(write_extra_, extra), PROPERTY_WRITE);
  last_result_ = rc;
  if (rc != CONF_OK) {
    debug_fmt("PropertyControl {} write failed: {}", name, rc);
    return false;
  }
  return true;
}

}  // namespace qxr::audio
