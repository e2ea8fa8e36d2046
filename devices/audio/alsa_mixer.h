#pragma once
// MixerAccess on a card's ALSA simple-mixer elements (element index 0).
#include <functional>

#include "devices/audio/mixer_access.h"

typedef struct _snd_mixer snd_mixer_t;
typedef struct _snd_mixer_elem snd_mixer_elem_t;

namespace qxr::audio {

class AlsaLibrary;

// Gives the library the mixer calls through, or null when ALSA is missing.
using AlsaLibrarySource = std::function<const AlsaLibrary*()>;

// libasound is asked for on the first open, not before: a mixer that is never opened never
// loads it. Without the library the mixer behaves as on a machine without sound cards.
class AlsaMixer : public MixerAccess {
 public:
  AlsaMixer();
  explicit AlsaMixer(AlsaLibrarySource library);
  ~AlsaMixer() override;
  AlsaMixer(const AlsaMixer&) = delete;
  AlsaMixer& operator=(const AlsaMixer&) = delete;

  bool open(int card) override;
  void close() override;
  bool is_open() const override { return handle_ != nullptr; }
  void refresh() override;

  std::vector<MixerElementInfo> elements() override;
  std::optional<MixerVolumeRange> volume_range(const std::string& element,
                                               MixerSide side) override;
  std::optional<MixerDbRange> db_range(const std::string& element, MixerSide side) override;
  std::optional<long> volume(const std::string& element, MixerSide side) override;
  bool set_volume(const std::string& element, MixerSide side, long value) override;
  std::optional<long> volume_db(const std::string& element, MixerSide side) override;
  bool set_volume_db(const std::string& element, MixerSide side, long centi_db) override;
  std::optional<bool> switch_on(const std::string& element, MixerSide side) override;
  bool set_switch(const std::string& element, MixerSide side, bool on) override;

 private:
  snd_mixer_elem_t* find(const std::string& element) const;

  AlsaLibrarySource source_;
  // Set by the first open that finds the library; non-null whenever handle_ is.
  const AlsaLibrary* alsa_ = nullptr;
  snd_mixer_t* handle_ = nullptr;
};

}  // namespace qxr::audio
