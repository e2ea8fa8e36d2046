#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <thread>
#include <vector>

#include "core/debug_line.h"
#include "devices/audio/alsa_library.h"
#include "devices/audio/alsa_mixer.h"

using namespace qxr::audio;

namespace {

constexpr const char* kMissingSoname = "libqxr470-no-such-sound-library.so.0";

// Names of the table's calls that are still unbound.
std::vector<std::string> unbound(const AlsaLibrary& lib) {
  std::vector<std::string> out;
#define QXR_CHECK_BOUND(name) \
  if (lib.name == nullptr) out.push_back(#name);
  QXR_ALSA_CALLS(QXR_CHECK_BOUND)
#undef QXR_CHECK_BOUND
  return out;
}

}  // namespace

TEST(AlsaLibrary, BindsEveryCallOfTheInstalledLibrary) {
  const auto lib = AlsaLibrary::load(ALSA_LIBRARY_SONAME);
  ASSERT_NE(lib, nullptr);
  EXPECT_EQ(unbound(*lib), std::vector<std::string>{});
  // The pointers reach the real library: snd_mixer_selem_id_alloca's size and an error text.
  EXPECT_GT(lib->snd_mixer_selem_id_sizeof(), 0u);
  EXPECT_STRNE(lib->snd_strerror(-ENOENT), "");
  snd_mixer_t* h = nullptr;
  ASSERT_EQ(lib->snd_mixer_open(&h, 0), 0);
  EXPECT_EQ(lib->snd_mixer_first_elem(h), nullptr);  // nothing attached yet
  EXPECT_EQ(lib->snd_mixer_close(h), 0);
}

TEST(AlsaLibrary, SystemLibraryIsLoadedOnceForEveryThread) {
  constexpr int kThreads = 4;
  std::vector<const AlsaLibrary*> seen(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&seen, i] { seen[i] = system_alsa_library(); });
  }
  for (auto& t : threads) t.join();
  ASSERT_NE(seen[0], nullptr);
  EXPECT_EQ(std::set<const AlsaLibrary*>(seen.begin(), seen.end()).size(), 1u);
  EXPECT_EQ(system_alsa_library(), seen[0]);
}

TEST(AlsaLibrary, MissingLibraryOrCallIsReportedNotBound) {
  qxr::DebugCapture capture;
  EXPECT_EQ(AlsaLibrary::load(kMissingSoname), nullptr);
  EXPECT_TRUE(capture.contains(std::string("dlopen ") + kMissingSoname));
  // A library that exists but is not libasound names the first call it lacks.
  capture.clear();
  EXPECT_EQ(AlsaLibrary::load("libc.so.6"), nullptr);
  EXPECT_EQ(capture.count("libc.so.6: no snd_strerror"), 1);
}

TEST(AlsaMixerReal, WithoutTheLibraryOpensNothing) {
  qxr::DebugCapture capture;
  int asked = 0;
  AlsaMixer mixer([&asked] {
    ++asked;
    static const auto missing = AlsaLibrary::load(kMissingSoname);
    return missing.get();
  });
  EXPECT_EQ(asked, 0);  // constructing a mixer loads nothing
  EXPECT_FALSE(mixer.open(0));
  EXPECT_FALSE(mixer.is_open());
  EXPECT_TRUE(capture.contains("no ALSA library"));
  EXPECT_TRUE(mixer.elements().empty());
  EXPECT_FALSE(mixer.volume_range("Mic", MixerSide::Capture));
  EXPECT_FALSE(mixer.set_volume_db("Mic", MixerSide::Playback, 0));
  EXPECT_FALSE(mixer.switch_on("Mic", MixerSide::Capture));
  mixer.refresh();
  mixer.close();
}
