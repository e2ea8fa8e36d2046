// The editor operations of the headset's audio half.
#include <algorithm>

#include "core/debug_line.h"
#include "devices/audio/headset_audio.h"
#include "devices/audio/property_names.h"

namespace qxr::audio {
namespace {

constexpr int32_t kOff = 0;
constexpr int32_t kOn = 1;

}  // namespace

// Every operation below shows what the chip holds afterwards: a control the user moved goes
// back when the chip refused the change, so the panel never claims what the headset does not do.

void HeadsetAudio::ToggleVoiceChanger(bool on) {
  if (write_capture(PROP_ENABLE_MAGICVOICE, on ? kOn : kOff)) {
    // The echo effect would sit on top of the changed voice.
    if (on) write_capture(PROP_ENABLE_MICECHO, kOff);
    stages_.magic_enable = on ? kOn : kOff;
  }
  page_.SetVoiceChangerSwitch(stages_.magic_enable != 0);
  commit();
}

void HeadsetAudio::SelectVoice(int voice) {
  if (voice < VOICE_FIRST || voice > VOICE_LAST) return;
  if (write_capture(PROP_MAGICVOICE_SELECTION, voice - VOICE_FIRST)) stages_.magic_type = voice;
  page_.SelectVoiceOption(stages_.magic_type);
  commit();
}

void HeadsetAudio::toggle_mute(const LevelChannel& channel, int32_t& select) {
  const bool now_on = select == 0;
  if (write_capture(channel.mute, now_on ? kOff : kOn)) select = now_on ? kOn : kOff;
  (page_.*channel.set_switch)(select != 0);
  commit();
}

void HeadsetAudio::ToggleMicMute() { toggle_mute(kMic, stages_.mic_in_select); }

void HeadsetAudio::ToggleMonitorMute() { toggle_mute(kMonitor, stages_.mic_monitor_select); }

void HeadsetAudio::set_level(const LevelChannel& channel, int percent, int32_t& value) {
  percent = std::clamp(percent, 0, VOLUME_PERCENT_MAX);
  if (capture_ && io_.write_float(capture_->info, channel.level_scalar,
                                  percent_to_scalar(percent), channel.extra)) {
    if (const auto db = read_capture(channel.level_db, channel.extra)) {
      (page_.*channel.show_level)(format_db(*db));
    }
    value = percent;
  }
  (page_.*channel.set_slider)(value);
  commit();
}

void HeadsetAudio::SetMicVolume(int percent) { set_level(kMic, percent, stages_.mic_in_value); }

void HeadsetAudio::SetMonitorVolume(int percent) {
  set_level(kMonitor, percent, stages_.mic_monitor_value);
}

bool HeadsetAudio::apply_gains(const EqGains& gains) {
  bool all = write_render(PROP_ENABLE_EQ, kOn);
  for (int band = 0; band < EQ_BANDS; ++band) {
    const auto b = static_cast<size_t>(band);
    if (write_render(eq_slider_property(band), gains[b])) {
      gains_[b] = gains[b];
    } else {
      all = false;
    }
    page_.SetBandValue(band, gains_[b]);
  }
  return all;
}

void HeadsetAudio::SetEqBand(int band, int gain) {
  if (band < 0 || band >= EQ_BANDS) return;
  if (stages_.eq_type != EQ_TYPE_CUSTOM) {
    stages_.eq_type = EQ_TYPE_CUSTOM;
    page_.SelectEqPreset(EQ_TYPE_CUSTOM);
    page_.ShowCustomEq(true);
    // Coming from no preset the equaliser may still be off; a band alone would not be heard.
    write_render(PROP_ENABLE_EQ, kOn);
  }
  if (write_render(eq_slider_property(band), gain)) gains_[static_cast<size_t>(band)] = gain;
  page_.SetBandValue(band, gains_[static_cast<size_t>(band)]);
  commit();
}

void HeadsetAudio::ApplyEqPreset(int preset) {
  if (preset == EQ_TYPE_CUSTOM) {
    stages_.eq_type = EQ_TYPE_CUSTOM;
    page_.SelectEqPreset(EQ_TYPE_CUSTOM);
    page_.ShowCustomEq(true);
    apply_custom(selected_custom_);
    commit();
    return;
  }
  const auto gains = EqPresets(preset);
  if (!gains) return;  // 0 (no preset) and unknown numbers change nothing
  // A preset the chip did not take (in full) is not the chosen one; the bands show what it has.
  if (apply_gains(*gains)) stages_.eq_type = preset;
  page_.SelectEqPreset(stages_.eq_type);
  page_.ShowCustomEq(stages_.eq_type == EQ_TYPE_CUSTOM);
  commit();
}

bool HeadsetAudio::apply_custom(int index) {
  if (index < 0 || static_cast<size_t>(index) >= custom_names_.size()) return false;
  selected_custom_ = index;
  apply_gains(custom_gains(index));
  stages_.custom_eq_select_index = index;
  return true;
}

void HeadsetAudio::ApplyCustomEq(int index) {
  if (apply_custom(index)) commit();
}

int HeadsetAudio::SaveCustomEq(const std::string& name) {
  const std::vector<int> gains(gains_.begin(), gains_.end());
  if (name.empty()) {
    if (selected_custom_ < 0) return SAVE_EQ_REFUSED;
    profile_.SetCustomEqValues(gains, selected_custom_);
    stages_.custom_eq_select_index = selected_custom_;
  } else {
    if (custom_names_.size() >= static_cast<size_t>(CUSTOM_EQ_MAX)) return SAVE_EQ_REFUSED;
    for (const auto& existing : custom_names_) {
      if (same_name_ignoring_case(existing, name)) return SAVE_EQ_DUPLICATE;
    }
    custom_names_.push_back(name);
    page_.AddCustomName(name);
    const int index = static_cast<int>(custom_names_.size()) - 1;
    profile_.SetCustomEqValues(gains, index);
    selected_custom_ = index;
    stages_.custom_eq_select_index = index;
    page_.SelectCustomName(index);
    page_.SetCustomNameText("");
  }
  profile_.SetCustomEqNames(custom_names_);
  commit();
  return SAVE_EQ_OK;
}

void HeadsetAudio::DeleteCustomEq() {
  const int removed = selected_custom_;
  if (removed < 0 || static_cast<size_t>(removed) >= custom_names_.size()) return;
  custom_names_.erase(custom_names_.begin() + removed);
  page_.RemoveCustom(removed);
  // Gains are stored by position: move the later ones down so each name keeps its own gains.
  for (size_t j = static_cast<size_t>(removed); j < custom_names_.size(); ++j) {
    const int i = static_cast<int>(j);
    profile_.SetCustomEqValues(profile_.GetCustomEqValues(i + 1), i);
  }
  profile_.SetCustomEqNames(custom_names_);

  if (custom_names_.empty()) {
    selected_custom_ = -1;
    stages_.eq_type = EQ_PRESET_FIRST;
    page_.SelectCustomName(-1);
    page_.SelectEqPreset(EQ_PRESET_FIRST);
    page_.ShowCustomEq(false);
    // The chip must stop playing the deleted equaliser, not only the panel.
    EqGains first{};
    const auto stored = profile_.GetEqValues(EQ_PRESET_FIRST);
    std::copy_n(stored.begin(), std::min(stored.size(), first.size()), first.begin());
    apply_gains(first);
  } else {
    page_.SelectCustomName(0);
    apply_custom(0);
  }
  commit();
}

void HeadsetAudio::SetVirtualSurround(bool on) {
  if (write_render(PROP_SURROUND, on ? kOn : kOff, SURROUND_HP_ENABLE_EXTRA)) stages_.virtual_surround = on ? kOn : kOff;
  page_.SetSurroundSwitch(stages_.virtual_surround != 0);
  commit();
}

}  // namespace qxr::audio
