// The hidraw tests run with the fake-hidraw library preloaded. Started without it (by hand, or
// by ctest's listing of the tests), the program starts itself again with it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/hidraw/fake_hidraw_api.h"

int main(int argc, char** argv) {
  if (!qxr::testing::fake_hidraw().loaded() && std::getenv("QXR_FAKE_HIDRAW_REEXEC") == nullptr) {
    setenv("QXR_FAKE_HIDRAW_REEXEC", "1", 1);
    setenv("LD_PRELOAD", QXR_FAKE_HIDRAW_LIBRARY, 1);
    // The sanitizers' runtime is loaded after the preloaded library; that is fine here.
    std::string asan = std::getenv("ASAN_OPTIONS") ? std::getenv("ASAN_OPTIONS") : "";
    setenv("ASAN_OPTIONS", (asan.empty() ? "" : asan + ":").append("verify_asan_link_order=0").c_str(), 1);
    execv("/proc/self/exe", argv);
    std::perror("execv");
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
