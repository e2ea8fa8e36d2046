#pragma once
// Which endpoints the headset works on.
#include <array>
#include <optional>
#include <span>
#include <vector>

#include "devices/audio/audio_conf.h"

namespace qxr::audio {

// Render endpoint types, best first; each must be active to be chosen.
inline constexpr std::array<int32_t, 4> RENDER_TYPE_PREFERENCE{
    ENDPOINT_HEADPHONES, ENDPOINT_USB_STREAM, ENDPOINT_DIGITAL, ENDPOINT_SPEAKERS};

// The endpoints of one flow as the library lists them; entries it cannot fill are skipped.
std::vector<AudioDeviceInfo> list_endpoints(AudioConfLib& lib, int flow);

std::optional<AudioDeviceInfo> select_render_endpoint(std::span<const AudioDeviceInfo> playback);
// The first active microphone; without an active one, the first microphone at all.
std::optional<AudioDeviceInfo> select_capture_endpoint(
    std::span<const AudioDeviceInfo> recording);

}  // namespace qxr::audio
