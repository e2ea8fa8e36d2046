// What a recoil panel step costs on a full script (30 bullets, 180 events): showing a bullet
// reads the gun's script; leaving an edit stores one bullet (read, change, atomic write).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "profile/json_file.h"
#include "profile/macro_files.h"

namespace {

struct ScriptFixture {
  ScriptFixture() {
    char tmpl[] = "/tmp/qxr-recoil-bench-XXXXXX";
    folder = mkdtemp(tmpl);
    Json::Value doc(Json::objectValue);
    doc["MacroName"] = "gun_1_txt";
    for (size_t b = 0; b < qxr::kRecoilBulletCount; ++b) {
      qxr::SetRecoilBullet(doc, b, {b % 2 == 0, static_cast<uint8_t>(b % 3), false, 5, 85});
    }
    path = qxr::RecoilScriptPath(folder + "/", 0);
    qxr::WriteJsonFile(path, doc);
  }
  ~ScriptFixture() { std::filesystem::remove_all(folder); }
  std::string folder;
  std::string path;
};

void BM_ShowRecoilBullets(benchmark::State& state) {
  ScriptFixture f;
  for (auto _ : state) benchmark::DoNotOptimize(qxr::ReadRecoilBullets(f.path));
}
BENCHMARK(BM_ShowRecoilBullets)->Unit(benchmark::kMicrosecond);

void BM_StoreRecoilBullet(benchmark::State& state) {
  ScriptFixture f;
  uint8_t pull = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(qxr::WriteRecoilBullet(f.path, f.path, 7, {true, pull++, true, 3, 90}));
  }
}
BENCHMARK(BM_StoreRecoilBullet)->Unit(benchmark::kMillisecond);

}  // namespace
