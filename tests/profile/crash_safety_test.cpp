// A process killed at a random moment while saving must leave either the old or the new
// profile behind, never a torn one.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>

#include "profile/json_file.h"
#include "profile/keyboard_profile_data.h"
#include "tests/support/temp_folder.h"

using namespace qxr;
using qxr::testing::TempFolder;

namespace {
constexpr int kRounds = 300;
constexpr int kMaxKillDelayUs = 3000;

[[noreturn]] void SaveForever(const std::string& path, int ready_fd) {
  CKeyboardProfiledata p;
  p.SetProfilePath(path);
  p.LoadProfile(path);
  for (int i = 0;; ++i) {
    LightInfo info{};
    info.red = static_cast<uint8_t>(i);
    p.SetLightInfo(info);
    // Files of changing length, so that a torn write would show.
    p.SetCustomColours(std::vector<CustomColour>(static_cast<size_t>(50 + i % 200)), i % 3);
    p.Save();
    if (i == 0) {
      char one = 1;
      if (write(ready_fd, &one, 1) != 1) _exit(2);
      close(ready_fd);
    }
  }
}
}  // namespace

TEST(CrashSafety, KilledWhileSavingNeverLeavesATornProfile) {
  TempFolder dir;
  const std::string path = dir.file("p.Json");
  Json::Value doc;
  doc["profilename"] = "p";
  doc["Device"][0]["LightInfo"]["Red"] = 0;
  ASSERT_TRUE(WriteJsonFile(path, doc));
  std::mt19937 rng(12345);
  for (int round = 0; round < kRounds; ++round) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(fds[0]);
      SaveForever(path, fds[1]);
    }
    close(fds[1]);
    char byte = 0;
    ASSERT_EQ(read(fds[0], &byte, 1), 1);  // the child is saving
    close(fds[0]);
    usleep(static_cast<useconds_t>(rng() % kMaxKillDelayUs));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round;
    const Json::Value stored = ReadJsonFile(path);
    ASSERT_TRUE(stored["Device"][0]["LightInfo"].isObject()) << "round " << round;
    ASSERT_EQ(stored["profilename"].asString(), "p") << "round " << round;
  }
  // Temporary files left by killed writers show that kills landed inside a save.
  int interrupted = 0;
  for (const std::string& name : dir.names()) interrupted += name.find(".tmp-") != std::string::npos;
  RecordProperty("interrupted_saves", interrupted);
  std::printf("%d of %d kills interrupted a save\n", interrupted, kRounds);
}
