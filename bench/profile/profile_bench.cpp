// What a profile switch and a setting change cost on a keyboard-sized profile: load,
// read the records a device needs, change one and save (atomically, with fsync).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "profile/json_file.h"
#include "profile/keyboard_profile_data.h"

namespace {

constexpr int kKeys = 170;
constexpr int kColourGroups = 8;

struct Fixture {
  Fixture() {
    char tmpl[] = "/tmp/qxr-profile-bench-XXXXXX";
    folder = mkdtemp(tmpl);
    Json::Value doc;
    doc["profilename"] = "bench";
    Json::Value& d = doc["Device"][0];
    for (int k = 0; k < kKeys; ++k) {
      d["KeyList"][k]["Assignment"] = 0x100000 + k;
      d["KeyList"][k]["DefaultAssignment"] = 0x100000 + k;
    }
    for (int g = 0; g < kColourGroups; ++g) {
      for (int c = 0; c < kKeys; ++c) {
        for (const char* key : {"Red", "Green", "Blue", "Alpha"}) {
          d["CustomLightMode"]["LightColorInfo"][g][c][key] = c;
        }
      }
    }
    d["LightInfo"]["SelectItem"] = 3;
    path = folder + "/p.Json";
    qxr::WriteJsonFile(path, doc);
  }
  ~Fixture() { std::filesystem::remove_all(folder); }
  std::string folder;
  std::string path;
};

void BM_LoadAndReadKeyboardProfile(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    qxr::CKeyboardProfiledata p;
    p.LoadProfile(f.path);
    benchmark::DoNotOptimize(p.GetKeyList());
    benchmark::DoNotOptimize(p.GetLightInfo());
    benchmark::DoNotOptimize(p.GetCustomColours(0, kKeys));
  }
}
BENCHMARK(BM_LoadAndReadKeyboardProfile)->Unit(benchmark::kMillisecond);

void BM_ChangeAndSaveKeyboardProfile(benchmark::State& state) {
  Fixture f;
  qxr::CKeyboardProfiledata p;
  p.SetProfilePath(f.path);
  p.LoadProfile(f.path);
  uint8_t red = 0;
  for (auto _ : state) {
    qxr::LightInfo info = p.GetLightInfo();
    info.red = red++;
    p.SetLightInfo(info);
    benchmark::DoNotOptimize(p.Save());
  }
}
BENCHMARK(BM_ChangeAndSaveKeyboardProfile)->Unit(benchmark::kMillisecond);

}  // namespace
