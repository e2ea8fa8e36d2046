#pragma once
// The headset's audio-configuration interface: five calls and a set of named properties.
// Values travel as bytes: a read leaves the value as decimal text in the value buffer, a write
// takes the value from the buffer's first 4 bytes (a 32-bit integer or float, host order).
// Some properties also take an "extra" buffer whose leading 32-bit integers select a channel or
// an effect. Every call answers 0 for success and one of the codes below otherwise.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string_view>

namespace qxr::audio {

// One endpoint as the library hands it out; 16 bytes, passed by value.
struct AudioDeviceInfo {
  int32_t id = 0;
  int32_t type = 0;
  int32_t reserved = 0;
  int32_t state = 0;
};
static_assert(sizeof(AudioDeviceInfo) == 16);

inline bool operator==(const AudioDeviceInfo& a, const AudioDeviceInfo& b) {
  return a.id == b.id && a.type == b.type && a.reserved == b.reserved && a.state == b.state;
}

// Flows of GetDeviceCount / GetDeviceById.
inline constexpr int FLOW_PLAYBACK = 0;
inline constexpr int FLOW_RECORDING = 1;

// Endpoint types. Render endpoints are preferred in the order of RENDER_TYPE_PREFERENCE.
inline constexpr int32_t ENDPOINT_HEADPHONES = 1;
inline constexpr int32_t ENDPOINT_MICROPHONE = 2;
inline constexpr int32_t ENDPOINT_SPEAKERS = 4;
inline constexpr int32_t ENDPOINT_DIGITAL = 7;
inline constexpr int32_t ENDPOINT_USB_STREAM = 12;

inline constexpr int32_t ENDPOINT_STATE_ACTIVE = 1;
inline constexpr int32_t ENDPOINT_STATE_UNPLUGGED = 8;

// Direction argument of PropertyControl.
inline constexpr int PROPERTY_READ = 0;
inline constexpr int PROPERTY_WRITE = 1;

// Size of each of the caller's value and extra buffers.
inline constexpr size_t PROPERTY_BUFFER_SIZE = 1024;

// Results of every call.
inline constexpr int CONF_OK = 0;
inline constexpr int CONF_ERR_UNSUPPORTED = 1;     // the property does not exist here
inline constexpr int CONF_ERR_INVALID_ARGUMENT = 2;  // bad flow, index, buffer or extra
inline constexpr int CONF_ERR_NO_DEVICE = 3;       // the endpoint is not (or no longer) there
inline constexpr int CONF_ERR_NOT_SET = 4;         // readable in principle, but holds no value
inline constexpr int CONF_ERR_IO = 5;              // the hardware refused the request
inline constexpr int CONF_ERR_NOT_INITIALISED = 6;  // ConfLibInit has not succeeded

// Bit of the first "GetSupportFeature" item that marks the voice changer.
inline constexpr uint32_t FEATURE_VOICE_CHANGER = 0x20000;
// "GetSupportFeature" must list at least this many items.
inline constexpr size_t SUPPORT_FEATURE_ITEMS = 7;

class AudioConfLib {
 public:
  virtual ~AudioConfLib() = default;

  virtual int ConfLibInit() = 0;
  // (Re)builds the endpoint lists that the two calls below answer from.
  virtual int CreateDeviceList() = 0;
  virtual int GetDeviceCount(int flow, int* count) = 0;
  virtual int GetDeviceById(int flow, int index, AudioDeviceInfo* info) = 0;
  // extra may be empty (no extra buffer).
  virtual int PropertyControl(AudioDeviceInfo device, std::string_view property,
                              std::span<uint8_t> value, std::span<uint8_t> extra,
                              int direction) = 0;
};

// Buffer helpers shared by the callers and the backends.
inline void put_int32(std::span<uint8_t> buffer, size_t index, int32_t v) {
  if (buffer.size() >= (index + 1) * 4) std::memcpy(buffer.data() + index * 4, &v, 4);
}
inline void put_float(std::span<uint8_t> buffer, float v) {
  if (buffer.size() >= 4) std::memcpy(buffer.data(), &v, 4);
}
inline int32_t get_int32(std::span<const uint8_t> buffer, size_t index = 0) {
  int32_t v = 0;
  if (buffer.size() >= (index + 1) * 4) std::memcpy(&v, buffer.data() + index * 4, 4);
  return v;
}
inline float get_float(std::span<const uint8_t> buffer) {
  float v = 0;
  if (buffer.size() >= 4) std::memcpy(&v, buffer.data(), 4);
  return v;
}

}  // namespace qxr::audio
