#include "devices/audio/endpoint_selection.h"

#include "core/debug_line.h"

namespace qxr::audio {

std::vector<AudioDeviceInfo> list_endpoints(AudioConfLib& lib, int flow) {
  std::vector<AudioDeviceInfo> out;
  int count = 0;
  if (const int rc = lib.GetDeviceCount(flow, &count); rc != CONF_OK) {
    debug_fmt("GetDeviceCount({}) failed: {}", flow, rc);
    return out;
  }
  for (int i = 0; i < count; ++i) {
    AudioDeviceInfo info;
    if (const int rc = lib.GetDeviceById(flow, i, &info); rc != CONF_OK) {
      debug_fmt("GetDeviceById({}, {}) failed: {}", flow, i, rc);
      continue;
    }
    out.push_back(info);
  }
  return out;
}

std::optional<AudioDeviceInfo> select_render_endpoint(std::span<const AudioDeviceInfo> playback) {
  for (int32_t type : RENDER_TYPE_PREFERENCE) {
    for (const auto& e : playback) {
      if (e.type == type && e.state == ENDPOINT_STATE_ACTIVE) return e;
    }
  }
  return std::nullopt;
}

std::optional<AudioDeviceInfo> select_capture_endpoint(
    std::span<const AudioDeviceInfo> recording) {
  std::optional<AudioDeviceInfo> first;
  for (const auto& e : recording) {
    if (e.type != ENDPOINT_MICROPHONE) continue;
    if (e.state == ENDPOINT_STATE_ACTIVE) return e;
    if (!first) first = e;
  }
  return first;
}

}  // namespace qxr::audio
