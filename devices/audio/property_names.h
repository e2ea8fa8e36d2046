#pragma once
// Names of the audio properties and the extra values that go with them.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qxr::audio {

inline constexpr std::string_view PROP_SUPPORT_FEATURE = "GetSupportFeature";

// Capture endpoint: microphone level.
inline constexpr std::string_view PROP_MAX_VOL = "GetMaxVol";
inline constexpr std::string_view PROP_MIN_VOL = "GetMinVol";
inline constexpr std::string_view PROP_VOL_STEP = "GetVolStep";
inline constexpr std::string_view PROP_VOLUME = "VolumeControl";
inline constexpr std::string_view PROP_VOLUME_SCALAR = "VolumeScalarControl";
inline constexpr std::string_view PROP_MUTE = "MuteControl";

// Capture endpoint: monitoring (the microphone heard in the headphones).
inline constexpr std::string_view PROP_AA_MAX_VOL = "GetAAMaxVol";
inline constexpr std::string_view PROP_AA_MIN_VOL = "GetAAMinVol";
inline constexpr std::string_view PROP_AA_VOL_STEP = "GetAAVolStep";
inline constexpr std::string_view PROP_AA_VOLUME = "AAVolumeControl";
inline constexpr std::string_view PROP_AA_VOLUME_SCALAR = "AAVolumeScalarControl";
inline constexpr std::string_view PROP_AA_MUTE = "AAMuteControl";

// Capture endpoint: voice processing.
inline constexpr std::string_view PROP_ENABLE_MAGICVOICE = "Enable_MAGICVOICE";
inline constexpr std::string_view PROP_ENABLE_MICECHO = "Enable_MICECHO";
inline constexpr std::string_view PROP_MAGICVOICE_SELECTION = "MagicVoice_Selection";
inline constexpr std::string_view PROP_ENABLE_ENC_LFX = "Enable_ENC_LFX";
inline constexpr std::string_view PROP_ENC_SELFCALIB = "ENC_SELFCALIB";

// Render endpoint: surround, equaliser, room effect.
inline constexpr std::string_view PROP_SURROUND = "VirtualSurroundEffectControl";
inline constexpr std::string_view PROP_ENABLE_EQ = "Enable_EQ_GFX";
inline constexpr std::string_view PROP_ENABLE_RFX = "Enable_RFX_GFX";
inline constexpr std::string_view PROP_RFX_ENVIRONMENT = "RFX_ENVIRONMENT";
inline constexpr std::string_view PROP_RFX_ROOMSIZE = "RFX_ROOMSIZE";
inline constexpr std::string_view PROP_EQ_SLIDER_PREFIX = "EQ_Slider";

inline constexpr int EQ_BANDS = 10;

// "EQ_Slider1" … "EQ_Slider10" for bands 0-9.
inline std::string eq_slider_property(int band) {
  return std::string(PROP_EQ_SLIDER_PREFIX) + std::to_string(band + 1);
}

// Extra values: the channel of the microphone level and of the monitoring level, and the
// selector of the headphone-surround switch ("XearSurrHP_Enable").
inline constexpr int32_t EXTRA_MIC_CHANNEL = -1;
inline constexpr int32_t EXTRA_MONITOR_CHANNEL = 0;
inline constexpr int32_t SURROUND_HP_ENABLE_SELECTOR = 4;
inline constexpr int32_t SURROUND_ALL_CHANNELS = -1;
inline constexpr int32_t SURROUND_RESERVED = 0;
// The extra buffer that addresses the headphone-surround switch.
inline constexpr std::array<int32_t, 3> SURROUND_HP_ENABLE_EXTRA{SURROUND_HP_ENABLE_SELECTOR, SURROUND_ALL_CHANNELS,
                                                                 SURROUND_RESERVED};

}  // namespace qxr::audio
