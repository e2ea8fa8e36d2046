#pragma once
// The headset's audio half: microphone level and mute, monitoring, equaliser, custom
// equalisers and voice changer, kept in the profile's "SystemSetStages" and applied to the chip
// through the audio-configuration interface. Every call runs on the UI thread.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/audio/audio_conf.h"
#include "devices/audio/eq_presets.h"
#include "devices/audio/headset_audio_page.h"
#include "devices/audio/headset_audio_profile.h"
#include "devices/audio/property_io.h"
#include "devices/audio/volume_scale.h"

namespace qxr::audio {

inline constexpr std::string_view MSG_CONF_LIB_INIT_FAILED = "ConfLibInit called failed!";
inline constexpr std::string_view MSG_APO_UNAVAILABLE = "UpdateAPOAvailable failed!";

inline constexpr int VOICE_FIRST = 1;
inline constexpr int VOICE_LAST = 4;
// At most this many custom equalisers can be saved.
inline constexpr int CUSTOM_EQ_MAX = 20;

// SaveCustomEq results.
inline constexpr int SAVE_EQ_OK = 1;
inline constexpr int SAVE_EQ_DUPLICATE = 0;
inline constexpr int SAVE_EQ_REFUSED = -1;  // none selected, or the list is full

// A chosen endpoint with the "GetSupportFeature" items 0, 4 and 6.
struct SelectedEndpoint {
  AudioDeviceInfo info;
  uint32_t feature_mask = 0;
  int64_t feature_item4 = 0;
  int64_t feature_item6 = 0;
};

class HeadsetAudio {
 public:
  HeadsetAudio(AudioConfLib& lib, HeadsetAudioProfile& profile, HeadsetAudioPage& page);

  // Once per page binding: the library, then refresh().
  void initialise();
  // The endpoints chosen again, what they hold read into the panels and the profile, and what
  // they offer shown; for a headset that (re)arrives after the page was bound.
  void refresh();
  // Rebuilds the endpoint lists and selects again; for a headset that arrives after the page
  // was bound (or comes back as another card). Defaults are written where the chip lacks them.
  void select_endpoints();
  // Reads levels, switches and the voice changer from the chip into the panels and the profile.
  void read_volumes();
  // Takes the audio settings, custom equalisers and current gains from the loaded profile.
  void load_profile();
  void apply_profile_to_page();

  // Editor operations. Each leaves "SystemSetStages" in the profile and saves it.
  void ToggleVoiceChanger(bool on);
  void SelectVoice(int voice);
  void ToggleMicMute();
  void SetMicVolume(int percent);
  void ToggleMonitorMute();
  void SetMonitorVolume(int percent);
  void SetEqBand(int band, int gain);
  void ApplyEqPreset(int preset);
  void ApplyCustomEq(int index);
  // name empty: the selected custom equaliser takes the current gains.
  int SaveCustomEq(const std::string& name);
  void DeleteCustomEq();
  void SetVirtualSurround(bool on);

  const SystemSetStages& stages() const { return stages_; }
  const EqGains& gains() const { return gains_; }
  const std::vector<std::string>& custom_names() const { return custom_names_; }
  int selected_custom() const { return selected_custom_; }
  const std::optional<SelectedEndpoint>& render_endpoint() const { return render_; }
  const std::optional<SelectedEndpoint>& capture_endpoint() const { return capture_; }
  const DbRange& mic_range() const { return mic_range_; }
  const DbRange& monitor_range() const { return monitor_range_; }
  bool monitor_available() const { return monitor_available_; }

 private:
  // The microphone level and the monitoring level work alike on different properties.
  struct LevelChannel {
    std::string_view max_vol, min_vol, vol_step, level_db, level_scalar, mute;
    std::array<int32_t, 1> extra;
    void (HeadsetAudioPage::*set_switch)(bool);
    void (HeadsetAudioPage::*set_slider)(int);
    void (HeadsetAudioPage::*show_level)(const std::string&);
  };
  static const LevelChannel kMic;
  static const LevelChannel kMonitor;

  std::optional<SelectedEndpoint> read_features(const AudioDeviceInfo& info);
  void apply_defaults();
  void read_range(const LevelChannel& channel, DbRange& range);
  void read_level(const LevelChannel& channel, int32_t& select, int32_t& value);
  void toggle_mute(const LevelChannel& channel, int32_t& select);
  void set_level(const LevelChannel& channel, int percent, int32_t& value);
  // False when the chip refused a band; gains_ holds what it has.
  bool apply_gains(const EqGains& gains);
  // What the card offers, to the page.
  void report_features();
  FeatureState probe(const std::optional<SelectedEndpoint>& endpoint, std::string_view name, Extra extra = {});
  bool apply_custom(int index);
  EqGains custom_gains(int index);
  void commit();

  bool write_capture(std::string_view name, int32_t value, Extra extra = {});
  bool write_render(std::string_view name, int32_t value, Extra extra = {});
  std::optional<double> read_capture(std::string_view name, Extra extra = {});

  AudioConfLib& lib_;
  HeadsetAudioProfile& profile_;
  HeadsetAudioPage& page_;
  PropertyIo io_;

  std::optional<SelectedEndpoint> render_;
  std::optional<SelectedEndpoint> capture_;
  SystemSetStages stages_;
  EqGains gains_{};
  std::vector<std::string> custom_names_;
  int selected_custom_ = -1;
  DbRange mic_range_;
  DbRange monitor_range_;
  bool monitor_available_ = false;
};

// ASCII letters compare without case; other bytes must match exactly.
bool same_name_ignoring_case(std::string_view a, std::string_view b);

}  // namespace qxr::audio
