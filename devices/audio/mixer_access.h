#pragma once
// The few mixer operations the ALSA backend needs, on simple elements of one card. The real
// implementation talks to ALSA; tests substitute a scripted mixer.
#include <optional>
#include <string>
#include <vector>

namespace qxr::audio {

enum class MixerSide { Capture, Playback };

struct MixerElementInfo {
  std::string name;
  bool capture_volume = false;
  bool capture_switch = false;
  bool playback_volume = false;
  bool playback_switch = false;
};

struct MixerVolumeRange {
  long min = 0;
  long max = 0;
};

// dB values are in hundredths of a dB, as ALSA gives them.
struct MixerDbRange {
  long min = 0;
  long max = 0;
};

class MixerAccess {
 public:
  virtual ~MixerAccess() = default;

  // Opens the card's mixer, closing one opened before.
  virtual bool open(int card) = 0;
  virtual void close() = 0;
  virtual bool is_open() const = 0;
  // Picks up changes made by other programs since the last call.
  virtual void refresh() = 0;

  virtual std::vector<MixerElementInfo> elements() = 0;
  virtual std::optional<MixerVolumeRange> volume_range(const std::string& element,
                                                       MixerSide side) = 0;
  virtual std::optional<MixerDbRange> db_range(const std::string& element, MixerSide side) = 0;
  // The first channel's volume; setting changes every channel.
  virtual std::optional<long> volume(const std::string& element, MixerSide side) = 0;
  virtual bool set_volume(const std::string& element, MixerSide side, long value) = 0;
  virtual std::optional<long> volume_db(const std::string& element, MixerSide side) = 0;
  virtual bool set_volume_db(const std::string& element, MixerSide side, long centi_db) = 0;
  // true = the element passes sound (ALSA's switch "on" means not muted).
  virtual std::optional<bool> switch_on(const std::string& element, MixerSide side) = 0;
  virtual bool set_switch(const std::string& element, MixerSide side, bool on) = 0;
};

}  // namespace qxr::audio
