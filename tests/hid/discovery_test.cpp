// The discovery thread over an emulator folder, with a fake observer.
#include "hid/discovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <thread>

#include "core/debug_line.h"
#include "emulator/report_descriptors.h"
#include "fake_interface.h"
#include "hid/enumeration.h"
#include "tests/hid/interface_rows.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace qxr::hid {
namespace {

using test::FakeInterface;
using qxr::testing::TempFolder;
using namespace std::chrono_literals;

class FakeObserver final : public DiscoveryObserver {
 public:
  void on_device_arrived(size_t slot) override { add("+" + std::to_string(slot)); }
  void on_device_removed(size_t slot) override { add("-" + std::to_string(slot)); }
  void on_first_pass() override { add("first"); }

  // Waits until n events in all were seen, then hands them out and forgets them.
  std::vector<std::string> take(size_t n, std::chrono::milliseconds timeout = 5s) {
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, timeout, [&] { return events_.size() >= n; });
    auto out = std::move(events_);
    events_.clear();
    return out;
  }
  size_t pending() {
    std::lock_guard lock(mutex_);
    return events_.size();
  }

 private:
  void add(std::string e) {
    std::lock_guard lock(mutex_);
    events_.push_back(std::move(e));
    cv_.notify_all();
  }
  std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<std::string> events_;
};

class DiscoveryTest : public ::testing::Test {
 protected:
  DiscoveryTest()
      : keyboard_(dir_.path(), "kb", 0x320F, 0x5055, 1, emu::keyboard_report_descriptor()),
        keyboard2_(dir_.path(), "kb2", 0x320F, 0x5055, 1, emu::keyboard_report_descriptor()),
        headset_(dir_.path(), "hd", 0x00C7, 0x1630, 3, emu::headset_report_descriptor()),
        discovery_(observer_, test::kInterfaceRows) {
    set_hidraw_enabled(false);
    set_emulator_dir(dir_.path());
  }
  ~DiscoveryTest() override {
    discovery_.stop();
    use_emulator_dir_from_environment();
    set_hidraw_enabled(true);
  }

  TempFolder dir_;
  FakeInterface keyboard_, keyboard2_, headset_;
  FakeObserver observer_;
  Discovery discovery_;
};

TEST_F(DiscoveryTest, ClaimsBothKeyboardSlotsInOnePassThenSignalsTheFirstPass) {
  keyboard_.plug();
  ASSERT_TRUE(discovery_.start());
  EXPECT_EQ(observer_.take(3), (std::vector<std::string>{"+0", "+1", "first"}));
  const auto slots = discovery_.slots();
  EXPECT_TRUE(slots[0].connected);
  EXPECT_EQ(slots[0].path, keyboard_.path(4));
  EXPECT_EQ(slots[1].path, keyboard_.path(3));
  for (size_t i = 2; i < slots.size(); ++i) EXPECT_TRUE(slots[i].is_free());
}

TEST_F(DiscoveryTest, FirstPassIsSignalledOnceEvenWithNoDevice) {
  ASSERT_TRUE(discovery_.start());
  EXPECT_EQ(observer_.take(1), std::vector<std::string>{"first"});
  headset_.plug();
  EXPECT_EQ(observer_.take(1), std::vector<std::string>{"+6"});
  EXPECT_EQ(discovery_.slot(6).path, headset_.path(0));
}

TEST_F(DiscoveryTest, HotPlugArrivalAndRemovalOfBothKeyboardSlots) {
  ASSERT_TRUE(discovery_.start());
  ASSERT_EQ(observer_.take(1), std::vector<std::string>{"first"});
  keyboard_.plug();
  EXPECT_EQ(observer_.take(2), (std::vector<std::string>{"+0", "+1"}));
  keyboard_.unplug();
  // Both slots are freed; under heavy load the two removals can be noticed in two passes, so
  // their order is not asserted here (one pass reports in slot order).
  std::vector<std::string> gone = observer_.take(2);
  std::sort(gone.begin(), gone.end());
  EXPECT_EQ(gone, (std::vector<std::string>{"-0", "-1"}));
  EXPECT_TRUE(discovery_.slot(0).is_free());
  EXPECT_TRUE(discovery_.slot(1).is_free());
  // Back again: claimed again.
  keyboard_.plug();
  EXPECT_EQ(observer_.take(2), (std::vector<std::string>{"+0", "+1"}));
}

TEST_F(DiscoveryTest, ASecondKeyboardIsIgnoredUntilTheFirstGoes) {
  keyboard_.plug();
  ASSERT_TRUE(discovery_.start());
  ASSERT_EQ(observer_.take(3).size(), 3u);
  // The plug is noticed (a pass runs), but there is no free slot for it.
  const uint64_t before = discovery_.passes();
  keyboard2_.plug();
  qxr::testing::wait_until([&] { return discovery_.passes() != before; }, 1000);
  EXPECT_GT(discovery_.passes(), before);
  EXPECT_EQ(observer_.pending(), 0u);
  EXPECT_EQ(discovery_.slot(0).path, keyboard_.path(4));

  keyboard_.unplug();
  // Under load the unplug can be noticed slot by slot over two passes (see above), so a slot
  // may be taken again before the other is freed; each slot still goes before it comes back.
  const std::vector<std::string> events = observer_.take(4);
  std::vector<std::string> sorted = events;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<std::string>{"+0", "+1", "-0", "-1"}));
  auto at = [&](const char* e) { return std::find(events.begin(), events.end(), e) - events.begin(); };
  EXPECT_LT(at("-0"), at("+0"));
  EXPECT_LT(at("-1"), at("+1"));
  EXPECT_EQ(discovery_.slot(0).path, keyboard2_.path(4));
  EXPECT_EQ(discovery_.slot(1).path, keyboard2_.path(3));
  EXPECT_EQ(observer_.pending(), 0u);
}

TEST_F(DiscoveryTest, NothingRunsWhileNothingChanges) {
  keyboard_.plug();
  headset_.plug();
  ASSERT_TRUE(discovery_.start());
  ASSERT_EQ(observer_.take(4).size(), 4u);
  const uint64_t passes = discovery_.passes();
  const uint64_t wakeups = discovery_.wakeups();
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(discovery_.passes(), passes);
  EXPECT_EQ(discovery_.wakeups(), wakeups);
  // Files that are no interface description do not cause a rescan either.
  std::ofstream(dir_.path() + "/notes.txt") << "x";
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(discovery_.passes(), passes);
}

TEST_F(DiscoveryTest, AnUnopenableInterfaceIsRetriedUntilItOpens) {
  // Socket bound but not yet listening: enumeration lists it, open is refused.
  const std::string sock = dir_.path() + "/late.sock";
  int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", sock.c_str());
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  std::string hex;
  for (uint8_t b : emu::headset_report_descriptor()) {
    char h[4];
    std::snprintf(h, sizeof h, "%02x ", b);
    hex += h;
  }
  std::ofstream(dir_.path() + "/late.json")
      << R"({"vendor_id": 199, "product_id": 5680, "interface": 3, "report_descriptor": ")" << hex
      << "\"}";

  ASSERT_TRUE(discovery_.start());
  ASSERT_EQ(observer_.take(1), std::vector<std::string>{"first"});
  const uint64_t passes = discovery_.passes();
  ASSERT_EQ(::listen(fd, 8), 0);  // no file changes: only the retry can find it now
  EXPECT_EQ(observer_.take(1), std::vector<std::string>{"+6"});
  EXPECT_GT(discovery_.passes(), passes);
  discovery_.stop();
  ::close(fd);
}

TEST_F(DiscoveryTest, FolderCreatedAfterStartIsWatchedOnceItExists) {
  const std::string sub = dir_.path() + "/later";
  set_emulator_dir(sub);
  ASSERT_TRUE(discovery_.start());
  ASSERT_EQ(observer_.take(1), std::vector<std::string>{"first"});
  ASSERT_EQ(::mkdir(sub.c_str(), 0700), 0);
  FakeInterface hd(sub, "hd", 0x00C7, 0x1630, 3, emu::headset_report_descriptor());
  hd.plug();
  EXPECT_EQ(observer_.take(1), std::vector<std::string>{"+6"});
  hd.unplug();
  EXPECT_EQ(observer_.take(1), std::vector<std::string>{"-6"});
}

TEST_F(DiscoveryTest, StopEndsTheThreadWithItsExitLine) {
  DebugCapture capture;
  ASSERT_TRUE(discovery_.start());
  ASSERT_EQ(observer_.take(1).size(), 1u);
  EXPECT_EQ(discovery_.stop(), WorkerThread::StopOutcome::Ended);
  EXPECT_EQ(capture.count(kDiscoveryExitLine), 1);
  EXPECT_FALSE(discovery_.running());
}

}  // namespace
}  // namespace qxr::hid
