#pragma once
// "AudioFile.json": the four named colour styles of the music lighting and the selected one,
// in the object "AudioLightInfo" of the root object "Device". Each channel runs 0-9.
#include <array>
#include <string>

namespace qxr {

inline constexpr char kAudioFileName[] = "AudioFile.json";
inline constexpr int kAudioStyleCount = 4;
inline constexpr int kAudioStyleMaxStep = 9;

struct AudioStyle {
  std::string name;
  int red = 0, green = 0, blue = 0;
  bool operator==(const AudioStyle&) const = default;
};

struct AudioStyles {
  int selected = 0;  // 0-3
  std::array<AudioStyle, kAudioStyleCount> styles;
  bool operator==(const AudioStyles&) const = default;
  const AudioStyle& current() const { return styles[static_cast<size_t>(selected)]; }
};

// "第一组" … "第四组".
std::string DefaultAudioStyleName(int index);
AudioStyles DefaultAudioStyles();

// The file's styles; out-of-range numbers are brought into range and missing members take the
// defaults. A file without "Device" (missing, empty or unreadable too) is written with the
// defaults first.
AudioStyles LoadAudioFile(const std::string& path);
bool SaveAudioFile(const std::string& path, const AudioStyles& styles);

}  // namespace qxr
