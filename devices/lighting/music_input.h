#pragma once
// What music lighting feeds the keyboard from the audio thread: 25 band magnitudes per
// spectrum frame and 6 level bytes. The light thread takes them at its next step. Feeding
// never waits on a step.
#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace qxr::lighting {

inline constexpr size_t kMusicBands = 25;
inline constexpr size_t kMusicLevels = 6;
inline constexpr int32_t kMusicFullScale = 2000;
// Visualisation 2 starts a ripple each time the accumulated average level (in percent of
// full scale, summed over spectrum frames) passes this; the sum then starts again.
inline constexpr uint32_t kMusicRippleThreshold = 71;

// What one music step consumes.
struct MusicFrame {
  std::array<int32_t, kMusicBands> bands{};  // 0 .. kMusicFullScale
  bool ripple = false;                        // a ripple was started since the last step
  std::array<uint8_t, kMusicLevels> levels{};  // the last levels fed
  bool fresh = false;                          // something was fed since the last take
};

class MusicInput {
 public:
  // The first min(count, 25) values are the band magnitudes (the rest of a longer frame is
  // not looked at); each is clamped to 0 .. kMusicFullScale.
  void FeedSpectrum(const int32_t* values, size_t count);
  // A count above 6 is cut to 6; missing values are 0.
  void FeedLevels(const uint8_t* values, size_t count);

  // Light thread: copies and clears the bands and the ripple; the levels stay.
  void take(MusicFrame& out);
  // Something was fed that no step has taken yet.
  bool fresh() const;
  // Copies without consuming (the fed-colour mode).
  std::array<uint8_t, kMusicLevels> levels() const;
  // The levels, and whether they are new since the last take (the fed-colour mode's step).
  std::array<uint8_t, kMusicLevels> take_levels(bool& fresh);
  void clear();

 private:
  mutable std::mutex mutex_;
  MusicFrame pending_;
  uint32_t accumulated_ = 0;
};

// The first KeyGrid row a band magnitude lights: 7 for silence (nothing), 1 at full scale.
int music_first_row(int32_t magnitude);

}  // namespace qxr::lighting
