#pragma once
// An emulated 6533 chip behind the audio-configuration interface, for the demo and the tests.
// It lists endpoints (some of them the computer's own, which answer no property), reports its
// feature list, keeps the microphone and monitoring levels with their dB ranges, and stores
// every other property so that it reads back what was written. A property that was never
// written reads as "not set", as on a fresh chip. Tests can make any property fail, change the
// endpoint lists and inspect every access.
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/audio/audio_conf.h"
#include "devices/audio/emulated_chip_properties.h"
#include "devices/audio/volume_scale.h"

namespace qxr::audio {

struct EmulatedEndpoint {
  AudioDeviceInfo info;
  bool on_chip = true;    // false: another device's endpoint; answers no property
  std::string features;   // the "GetSupportFeature" text
};

struct EmulatedChipConfig {
  std::vector<EmulatedEndpoint> playback;
  std::vector<EmulatedEndpoint> recording;
  DbRange mic_range;
  DbRange monitor_range;
  bool has_monitor = true;
  double mic_scalar = 0;
  double monitor_scalar = 0;
  bool mic_muted = false;
  bool monitor_muted = true;
  int init_result = CONF_OK;
};

// A headset as it comes out of the box: a headphone and a microphone endpoint on the chip, next
// to an unplugged digital output of the computer.
EmulatedChipConfig default_chip_config();

// Feature text with the given mask and the usual seven items.
std::string chip_feature_text(uint32_t mask);

// One PropertyControl call as the chip saw it.
struct ChipAccess {
  int32_t endpoint_id = 0;
  std::string name;
  int direction = PROPERTY_READ;
  int result = CONF_OK;
  int32_t written_int = 0;   // first 4 bytes of the value buffer on a write
  float written_float = 0;   // the same bytes as a float
};

class EmulatedAudioChip : public AudioConfLib {
 public:
  explicit EmulatedAudioChip(EmulatedChipConfig config = default_chip_config());

  int ConfLibInit() override;
  int CreateDeviceList() override;
  int GetDeviceCount(int flow, int* count) override;
  int GetDeviceById(int flow, int index, AudioDeviceInfo* info) override;
  int PropertyControl(AudioDeviceInfo device, std::string_view property,
                      std::span<uint8_t> value, std::span<uint8_t> extra,
                      int direction) override;

  // Test and demo controls.
  void set_init_result(int result);
  // Takes effect with the next CreateDeviceList, as on a real system.
  void set_endpoints(int flow, std::vector<EmulatedEndpoint> endpoints);
  void fail_property(std::string name, int direction, int result = CONF_ERR_IO);
  void clear_failures();

  std::optional<int32_t> stored(const std::string& name) const;
  void store(const std::string& name, int32_t value);
  void forget(const std::string& name);
  double level_scalar(ChipChannel channel) const;
  void set_level_scalar(ChipChannel channel, double scalar);

  std::vector<ChipAccess> accesses() const;
  // Accesses of one property (and direction, unless -1).
  std::vector<ChipAccess> accesses_of(std::string_view name, int direction = -1) const;
  void clear_accesses();

 private:
  struct Level {
    DbRange range;
    double scalar = 0;
  };

  const EmulatedEndpoint* find_endpoint(const AudioDeviceInfo& device, int* flow) const;
  int read(const EmulatedEndpoint& endpoint, int flow, std::string_view property,
           std::span<uint8_t> value, std::span<const uint8_t> extra) const;
  int write(int flow, std::string_view property, std::span<const uint8_t> value,
            std::span<const uint8_t> extra);
  bool channel_present(ChipChannel channel) const;
  Level* level(ChipChannel channel);
  const Level* level(ChipChannel channel) const;

  mutable std::mutex mutex_;
  EmulatedChipConfig config_;
  bool initialised_ = false;
  bool listed_ = false;
  std::vector<EmulatedEndpoint> listed_playback_;
  std::vector<EmulatedEndpoint> listed_recording_;
  Level mic_;
  Level monitor_;
  std::map<std::string, int32_t, std::less<>> values_;
  std::map<std::pair<std::string, int>, int> failures_;
  std::vector<ChipAccess> accesses_;
};

}  // namespace qxr::audio
