#include "profile/audio_file.h"

#include <algorithm>

#include "profile/json_access.h"
#include "profile/json_file.h"

namespace qxr {
namespace {

constexpr const char* kDefaultNames[kAudioStyleCount] = {"第一组", "第二组", "第三组", "第四组"};
// Red, green, blue and white, so that every style shows on the keyboard from the start.
constexpr int kDefaultColours[kAudioStyleCount][3] = {{9, 0, 0}, {0, 9, 0}, {0, 0, 9}, {9, 9, 9}};

std::string key(const char* stem, int n) { return stem + std::to_string(n); }

int step(const Json::Value& v, int fallback) {
  return v.isNull() ? fallback : std::clamp(ToInt(v, fallback), 0, kAudioStyleMaxStep);
}

}  // namespace

std::string DefaultAudioStyleName(int index) {
  return index >= 0 && index < kAudioStyleCount ? kDefaultNames[index] : std::string();
}

AudioStyles DefaultAudioStyles() {
  AudioStyles s;
  for (int i = 0; i < kAudioStyleCount; ++i) {
    AudioStyle& style = s.styles[static_cast<size_t>(i)];
    style.name = kDefaultNames[i];
    style.red = kDefaultColours[i][0];
    style.green = kDefaultColours[i][1];
    style.blue = kDefaultColours[i][2];
  }
  return s;
}

AudioStyles LoadAudioFile(const std::string& path) {
  AudioStyles s = DefaultAudioStyles();
  const Json::Value document = ReadJsonFile(path);
  const Json::Value& device = Member(document, "Device");
  if (!device.isObject()) {
    SaveAudioFile(path, s);
    return s;
  }
  const Json::Value& info = Member(device, "AudioLightInfo");
  const Json::Value& selected = Member(info, "nAudioStyle");
  if (!selected.isNull()) s.selected = std::clamp(ToInt(selected), 0, kAudioStyleCount - 1);
  for (int i = 0; i < kAudioStyleCount; ++i) {
    AudioStyle& style = s.styles[static_cast<size_t>(i)];
    const Json::Value& name = Member(info, key("nStyleName", i + 1).c_str());
    if (name.isString() && !name.asString().empty()) style.name = name.asString();
    style.red = step(Member(info, key("nStyleR", i).c_str()), style.red);
    style.green = step(Member(info, key("nStyleG", i).c_str()), style.green);
    style.blue = step(Member(info, key("nStyleB", i).c_str()), style.blue);
  }
  return s;
}

bool SaveAudioFile(const std::string& path, const AudioStyles& s) {
  Json::Value info(Json::objectValue);
  info["nAudioStyle"] = s.selected;
  for (int i = 0; i < kAudioStyleCount; ++i) {
    const AudioStyle& style = s.styles[static_cast<size_t>(i)];
    info[key("nStyleName", i + 1)] = style.name;
    info[key("nStyleR", i)] = style.red;
    info[key("nStyleG", i)] = style.green;
    info[key("nStyleB", i)] = style.blue;
  }
  Json::Value document(Json::objectValue);
  document["Device"]["AudioLightInfo"] = info;
  return WriteJsonFile(path, document);
}

}  // namespace qxr
