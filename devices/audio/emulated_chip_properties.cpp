#include "devices/audio/emulated_chip_properties.h"

#include <array>

#include "devices/audio/audio_conf.h"
#include "devices/audio/property_names.h"

namespace qxr::audio {
namespace {

using K = ChipValueKind;
using C = ChipChannel;
using E = ChipExtraRule;
constexpr int R = FLOW_PLAYBACK;
constexpr int Cap = FLOW_RECORDING;

// "GetSupportFeature" lives on both flows; it is answered before the table is consulted.
constexpr std::array kProperties{
    ChipProperty{PROP_MAX_VOL, Cap, K::RangeMax, C::Mic, E::None},
    ChipProperty{PROP_MIN_VOL, Cap, K::RangeMin, C::Mic, E::None},
    ChipProperty{PROP_VOL_STEP, Cap, K::RangeStep, C::Mic, E::None},
    ChipProperty{PROP_VOLUME, Cap, K::LevelDb, C::Mic, E::MicChannel},
    ChipProperty{PROP_VOLUME_SCALAR, Cap, K::LevelScalar, C::Mic, E::MicChannel},
    ChipProperty{PROP_MUTE, Cap, K::Switch, C::Mic, E::None},
    ChipProperty{PROP_AA_MAX_VOL, Cap, K::RangeMax, C::Monitor, E::None},
    ChipProperty{PROP_AA_MIN_VOL, Cap, K::RangeMin, C::Monitor, E::None},
    ChipProperty{PROP_AA_VOL_STEP, Cap, K::RangeStep, C::Monitor, E::None},
    ChipProperty{PROP_AA_VOLUME, Cap, K::LevelDb, C::Monitor, E::MonitorChannel},
    ChipProperty{PROP_AA_VOLUME_SCALAR, Cap, K::LevelScalar, C::Monitor, E::MonitorChannel},
    ChipProperty{PROP_AA_MUTE, Cap, K::Switch, C::Monitor, E::None},
    ChipProperty{PROP_ENABLE_MAGICVOICE, Cap, K::Switch, C::None, E::None},
    ChipProperty{PROP_ENABLE_MICECHO, Cap, K::Switch, C::None, E::None},
    ChipProperty{PROP_MAGICVOICE_SELECTION, Cap, K::Selection, C::None, E::None},
    ChipProperty{PROP_ENABLE_ENC_LFX, Cap, K::Switch, C::None, E::None},
    ChipProperty{PROP_ENC_SELFCALIB, Cap, K::Value, C::None, E::None},
    ChipProperty{PROP_SURROUND, R, K::Switch, C::None, E::SurroundSwitch},
    ChipProperty{PROP_ENABLE_EQ, R, K::Switch, C::None, E::None},
    ChipProperty{"EQ_Slider1", R, K::Gain, C::None, E::None},
    ChipProperty{"EQ_Slider2", R, K::Gain, C::None, E::None},
    ChipProperty{"EQ_Slider3", R, K::Gain, C::None, E::None},
    ChipProperty{"EQ_Slider4", R, K::Gain, C::None, E::None},
    ChipProperty{"EQ_Slider5", R, K::Gain, C::None, E::None},
    ChipProperty{"EQ_Slider6", R, K::Gain, C::None, E::None},
    ChipProperty{"EQ_Slider7", R, K::Gain, C::None, E::None},
    ChipProperty{"EQ_Slider8", R, K::Gain, C::None, E::None},
    ChipProperty{"EQ_Slider9", R, K::Gain, C::None, E::None},
    ChipProperty{"EQ_Slider10", R, K::Gain, C::None, E::None},
    ChipProperty{PROP_ENABLE_RFX, R, K::Switch, C::None, E::None},
    ChipProperty{PROP_RFX_ENVIRONMENT, R, K::Value, C::None, E::None},
    ChipProperty{PROP_RFX_ROOMSIZE, R, K::Value, C::None, E::None},
};

}  // namespace

std::span<const ChipProperty> chip_properties() { return kProperties; }

const ChipProperty* find_chip_property(std::string_view name) {
  for (const auto& p : kProperties) {
    if (p.name == name) return &p;
  }
  return nullptr;
}

}  // namespace qxr::audio
