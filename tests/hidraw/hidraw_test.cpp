// The code that opens hidraw nodes, run on fake nodes of the preloaded library whose device is
// the emulated keyboard: the kernel's semantics at the node, the transport's open, reads and
// writes, discovery through the enumeration seam, "qxr470ctl info keyboard", and the device
// object's connect sequence, unplug and permission error.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/debug_line.h"
#include "core/worker_thread.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/kinds/device_kinds.h"
#include "devices/testing/recording_page.h"
#include "emulator/report_descriptors.h"
#include "hid/device_path.h"
#include "hid/discovery.h"
#include "hid/enumeration.h"
#include "hid/hid_device.h"
#include "hid/node_open.h"
#include "protocol/command_channel.h"
#include "protocol/command_report.h"
#include "tests/hidraw/fake_hidraw_api.h"
#include "tests/support/emulator_test.h"
#include "tests/support/wait.h"
#include "tools/qxr470ctl/ctl_commands.h"
#include "tools/qxr470ctl/interface_scan.h"

namespace qxr::testing {
namespace {

using emu::DeviceType;
using protocol::CommandReport;

constexpr DeviceType kKb = DeviceType::Keyboard;
constexpr uint32_t kBusUsb = 3;
constexpr uint16_t kVendor = 0x320F;
constexpr uint16_t kProduct = 0x5055;
constexpr int kInterface = 1;

// Lists the fake node as libudev would: the ids of HID_ID, the interface number of the USB
// interface, the descriptor of sysfs; only while the node exists.
class FakeNodeSource final : public hid::InterfaceSource {
 public:
  explicit FakeNodeSource(std::string node) : node_(std::move(node)) {}
  bool list(std::vector<hid::InterfaceInfo>* out) override {
    struct stat st {};
    if (::stat(node_.c_str(), &st) != 0 || !S_ISCHR(st.st_mode)) return true;
    hid::InterfaceInfo info;
    info.node = node_;
    info.vendor_id = kVendor;
    info.product_id = kProduct;
    info.interface_number = kInterface;
    info.report_descriptor = emu::keyboard_report_descriptor();
    info.name = "Fake keyboard";
    out->push_back(std::move(info));
    return true;
  }

 private:
  std::string node_;
};

class FakeHidrawTest : public EmulatorTest {
 protected:
  void SetUp() override {
    fake_ = fake_hidraw();
    ASSERT_TRUE(fake_.loaded()) << "the fake-hidraw library is not preloaded";
    ASSERT_TRUE(start({kKb}));
    static std::atomic<int> count{0};
    node_ = "/dev/hidraw-qxrfake" + std::to_string(::getpid()) + "-" + std::to_string(count++);
    ASSERT_EQ(plug(), 0) << std::strerror(errno);
    // Only the fake node: the emulator folder is the device behind it, not a source of its own.
    hid::set_emulator_dir("");
    hid::set_hidraw_enabled(true);
    hid::set_hidraw_source([node = node_] { return std::make_unique<FakeNodeSource>(node); });
    unknown_before_ = fake_.unknown_requests();
  }

  void TearDown() override {
    hid::set_hidraw_source({});
    if (fake_.loaded()) {
      // Every ioctl the code issued is one the library answers as the kernel does.
      EXPECT_EQ(fake_.unknown_requests(), unknown_before_);
      fake_.deny(node_.c_str(), 0);
    }
  }

  int plug() {
    const std::vector<uint8_t> desc = emu::keyboard_report_descriptor();
    return fake_.plug(node_.c_str(), emu_->socket_path(kKb).c_str(), kBusUsb, kVendor, kProduct, desc.data(),
                      desc.size());
  }
  std::string path(int collection) const {
    return hid::make_path(node_, kVendor, kProduct, kInterface, static_cast<uint16_t>(collection));
  }
  // Waits (bounded) for the node to be readable.
  static bool readable(int fd, int timeout_ms = 5000) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeout_ms) == 1 && (p.revents & POLLIN);
  }
  static CommandReport request(uint8_t command, uint8_t length = 0) {
    CommandReport r = protocol::make_request(command, length);
    protocol::set_checksum(r.data());
    return r;
  }

  FakeHidraw fake_;
  std::string node_;
  unsigned unknown_before_ = 0;
};

// ---- the node as the kernel presents it ----

TEST_F(FakeHidrawTest, TheNodeDescribesItsDeviceThroughTheIoctls) {
  struct stat st {};
  ASSERT_EQ(::stat(node_.c_str(), &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  int fd = ::open(node_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  hidraw_devinfo info{};
  ASSERT_EQ(ioctl(fd, HIDIOCGRAWINFO, &info), 0);
  EXPECT_EQ(info.bustype, kBusUsb);
  EXPECT_EQ(static_cast<uint16_t>(info.vendor), kVendor);
  EXPECT_EQ(static_cast<uint16_t>(info.product), kProduct);
  int size = 0;
  ASSERT_EQ(ioctl(fd, HIDIOCGRDESCSIZE, &size), 0);
  const std::vector<uint8_t> expected = emu::keyboard_report_descriptor();
  ASSERT_EQ(size, static_cast<int>(expected.size()));
  hidraw_report_descriptor desc{};
  desc.size = static_cast<uint32_t>(size);
  ASSERT_EQ(ioctl(fd, HIDIOCGRDESC, &desc), 0);
  EXPECT_EQ(std::vector<uint8_t>(desc.value, desc.value + desc.size), expected);
  // A shorter buffer gets the descriptor's start; a size the kernel refuses gives EINVAL.
  hidraw_report_descriptor part{};
  part.size = 4;
  ASSERT_EQ(ioctl(fd, HIDIOCGRDESC, &part), 0);
  EXPECT_EQ(std::vector<uint8_t>(part.value, part.value + 4), std::vector<uint8_t>(expected.begin(), expected.begin() + 4));
  EXPECT_EQ(part.value[4], 0);
  part.size = HID_MAX_DESCRIPTOR_SIZE;
  EXPECT_EQ(ioctl(fd, HIDIOCGRDESC, &part), -1);
  EXPECT_EQ(errno, EINVAL);
  EXPECT_EQ(::close(fd), 0);
  EXPECT_EQ(fake_.open_handles(node_.c_str()), 0u);
}

TEST_F(FakeHidrawTest, EveryOpenHandleGetsEveryInputReport) {
  int a = ::open(node_.c_str(), O_RDWR | O_NONBLOCK);
  int b = ::open(node_.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(a, 0);
  ASSERT_GE(b, 0);
  EXPECT_EQ(fake_.open_handles(node_.c_str()), 2u);
  uint8_t buf[64];
  EXPECT_EQ(::read(a, buf, sizeof buf), -1);
  EXPECT_EQ(errno, EAGAIN);

  // A reply to one handle's request reaches both, as does the device's own event.
  CommandReport info = request(protocol::CMD_READ_INFO);
  ASSERT_EQ(::write(a, info.data(), info.size()), static_cast<ssize_t>(info.size()));
  ASSERT_TRUE(readable(a));
  ASSERT_TRUE(readable(b));
  ASSERT_TRUE(emu_->press_key(kKb, 7));
  for (int fd : {a, b}) {
    ASSERT_EQ(::read(fd, buf, sizeof buf), 64);
    EXPECT_EQ(buf[0], protocol::kCommandReportId);
    EXPECT_EQ(buf[protocol::kOffCommand], protocol::CMD_READ_INFO);
    ASSERT_TRUE(readable(fd));
    // A read is one report, cut to the caller's buffer.
    uint8_t small[3];
    ASSERT_EQ(::read(fd, small, sizeof small), 3);
    EXPECT_EQ(small[0], emu::kConsumerEventReportId);
    EXPECT_EQ(small[1] | small[2] << 8, 0x0507);
    EXPECT_EQ(::read(fd, buf, sizeof buf), -1);
    EXPECT_EQ(errno, EAGAIN);
  }
  // A handle opened later sees only what comes after it.
  int c = ::open(node_.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(c, 0);
  EXPECT_EQ(::read(c, buf, sizeof buf), -1);
  EXPECT_EQ(errno, EAGAIN);
  for (int fd : {a, b, c}) ::close(fd);
}

TEST_F(FakeHidrawTest, WritesAreWholeOutputReportsWithinTheHandlesAccess) {
  int ro = ::open(node_.c_str(), O_RDONLY | O_NONBLOCK);
  int rw = ::open(node_.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(ro, 0);
  ASSERT_GE(rw, 0);
  CommandReport begin = request(protocol::CMD_BEGIN);
  EXPECT_EQ(::write(ro, begin.data(), begin.size()), -1);
  EXPECT_EQ(errno, EBADF);
  EXPECT_EQ(::write(rw, begin.data(), 1), -1);
  EXPECT_EQ(errno, EINVAL);
  // The control-pipe form answers like the write.
  ASSERT_EQ(ioctl(rw, HIDIOCSOUTPUT(begin.size()), begin.data()), static_cast<int>(begin.size()));
  ASSERT_TRUE(readable(rw));
  uint8_t buf[64];
  ASSERT_EQ(::read(rw, buf, sizeof buf), 64);
  EXPECT_EQ(buf[protocol::kOffCommand], protocol::CMD_BEGIN);
  EXPECT_TRUE(emu_->in_transaction(kKb));
  // An ioctl the driver does not know.
  EXPECT_EQ(ioctl(rw, _IOR('H', 0x7E, int), buf), -1);
  EXPECT_EQ(errno, ENOTTY);
  ++unknown_before_;
  ::close(ro);
  ::close(rw);
}

TEST_F(FakeHidrawTest, AfterUnplugTheQueueDrainsThenReadsFailAndTheNodeIsGone) {
  int fd = ::open(node_.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(emu_->press_key(kKb, 3));
  ASSERT_TRUE(readable(fd));
  ASSERT_TRUE(emu_->unplug(kKb));
  // The node goes when the driver learns of the unplug, a moment after the device went.
  struct stat st {};
  ASSERT_TRUE(wait_until([&] { return ::stat(node_.c_str(), &st) != 0; }));
  EXPECT_EQ(errno, ENOENT);
  pollfd p{fd, POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, 5000), 1);
  EXPECT_EQ(p.revents & (POLLIN | POLLERR | POLLHUP), POLLIN | POLLERR | POLLHUP);
  uint8_t buf[64];
  EXPECT_EQ(::read(fd, buf, sizeof buf), 5);  // the report queued before the unplug
  EXPECT_EQ(::read(fd, buf, sizeof buf), -1);
  EXPECT_EQ(errno, EIO);
  ASSERT_EQ(::poll(&p, 1, 0), 1);
  EXPECT_EQ(p.revents, POLLERR | POLLHUP);
  CommandReport begin = request(protocol::CMD_BEGIN);
  EXPECT_EQ(::write(fd, begin.data(), begin.size()), -1);
  EXPECT_EQ(errno, ENODEV);
  int size = 0;
  EXPECT_EQ(ioctl(fd, HIDIOCGRDESCSIZE, &size), -1);
  EXPECT_EQ(errno, ENODEV);
  EXPECT_EQ(::open(node_.c_str(), O_RDWR), -1);
  EXPECT_EQ(errno, ENOENT);
  EXPECT_EQ(::close(fd), 0);
}

TEST_F(FakeHidrawTest, ABlockingReadWakesForAReportAndFailsAtUnplug) {
  int fd = ::open(node_.c_str(), O_RDWR);  // blocking
  ASSERT_GE(fd, 0);
  std::thread device([&] {
    emu_->press_key(kKb, 1);
  });
  uint8_t buf[64];
  EXPECT_EQ(::read(fd, buf, sizeof buf), 5);
  device.join();
  std::thread unplug([&] { emu_->unplug(kKb); });
  EXPECT_EQ(::read(fd, buf, sizeof buf), -1);
  EXPECT_EQ(errno, EIO);
  unplug.join();
  ::close(fd);
}

// ---- the transport and the program on the node ----

TEST_F(FakeHidrawTest, TheTransportOpensACollectionAndExchangesReports) {
  hid::HidDevice dev;
  ASSERT_TRUE(dev.open(path(emu::kVendorCollection), true, true, true, false)) << dev.last_error();
  EXPECT_EQ(dev.attributes().vendor_id, kVendor);
  EXPECT_EQ(dev.caps().usage_page, 0xFF1C);
  EXPECT_EQ(dev.caps().input_report_byte_length, 64);
  CommandReport info = request(protocol::CMD_READ_INFO, 8);
  size_t n = 0;
  ASSERT_TRUE(emu_->press_key(kKb, 2));  // of another collection: never delivered here
  ASSERT_TRUE(dev.write(info.data(), info.size(), &n, 1000)) << dev.last_error();
  uint8_t buf[64] = {};
  ASSERT_TRUE(dev.read(buf, sizeof buf, &n, 1000)) << dev.last_error();
  EXPECT_EQ(buf[protocol::kOffCommand], protocol::CMD_READ_INFO);
  const std::vector<uint8_t> block = emu_->memory(kKb, emu::Memory::kInfo);
  EXPECT_EQ(std::vector<uint8_t>(buf + protocol::kOffData, buf + protocol::kOffData + 8),
            std::vector<uint8_t>(block.begin(), block.begin() + 8));
  // The output report through the control pipe, as the headset's LED reports go.
  CommandReport begin = request(protocol::CMD_BEGIN);
  ASSERT_TRUE(dev.set_output_report(begin.data(), begin.size())) << dev.last_error();
  ASSERT_TRUE(dev.read(buf, sizeof buf, &n, 1000)) << dev.last_error();
  EXPECT_EQ(buf[protocol::kOffCommand], protocol::CMD_BEGIN);
  EXPECT_TRUE(emu_->in_transaction(kKb));
  // A read waiting without timeout returns when the device goes.
  std::thread unplug([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    emu_->unplug(kKb);
  });
  EXPECT_FALSE(dev.read(buf, sizeof buf, &n, hid::kInfinite));
  unplug.join();
  EXPECT_NE(dev.last_error().find("read"), std::string::npos) << dev.last_error();
  EXPECT_FALSE(dev.write(info.data(), info.size(), &n, 1000));
  dev.close();
  EXPECT_FALSE(hid::node_present(node_));
}

TEST_F(FakeHidrawTest, CtlInfoKeyboardReadsTheBlockThroughTheNode) {
  ctl::Args args;
  args.command = "info";
  args.operands = {"keyboard"};
  args.json = true;
  ctl::Output out(true);
  ASSERT_EQ(ctl::run_command(args, out), ctl::kExitOk) << out.doc().toStyledString();
  const std::vector<uint8_t> block = emu_->memory(kKb, emu::Memory::kInfo);
  EXPECT_EQ(out.doc()["info"].asString(), ctl::hex_bytes(block.data(), protocol::kInfoSize));
  EXPECT_EQ(out.doc()["fields"]["key_count"].asUInt(), block[5]);
  EXPECT_EQ(fake_.open_handles(node_.c_str()), 0u);  // every handle closed again
}

TEST_F(FakeHidrawTest, ANodeTheUserMayNotOpenIsNamedWithTheRule) {
  fake_.deny(node_.c_str(), 1);
  EXPECT_EQ(::open(node_.c_str(), O_RDONLY), -1);
  EXPECT_EQ(errno, EACCES);
  hid::HidDevice dev;
  EXPECT_FALSE(dev.open(path(emu::kVendorCollection), true, false, true, false));

  const ctl::ScanResult scan = ctl::scan_interfaces("");
  ASSERT_TRUE(scan.enumeration_ok);
  const ctl::ScannedInterface* blocked = ctl::find_unopenable(scan, "keyboard");
  ASSERT_NE(blocked, nullptr);
  EXPECT_NE(blocked->open_error.find(node_), std::string::npos) << blocked->open_error;
  EXPECT_NE(blocked->open_error.find("70-qxr470.rules"), std::string::npos) << blocked->open_error;

  ctl::Args args;
  args.command = "info";
  args.operands = {"keyboard"};
  args.json = true;
  ctl::Output out(true);
  EXPECT_EQ(ctl::run_command(args, out), ctl::kExitFailed);
  ::testing::internal::CaptureStdout();
  out.flush();
  const std::string printed = ::testing::internal::GetCapturedStdout();
  EXPECT_NE(printed.find(node_), std::string::npos) << printed;
  EXPECT_NE(printed.find("70-qxr470.rules"), std::string::npos) << printed;
}

// The keyboard, with the information block it read in view.
class KeyboardOnNode : public devices::CMarluneKeyboardDevice {
 public:
  using CMarluneKeyboardDevice::CMarluneKeyboardDevice;
  using CMarluneUSBDevice::info_block;
};

// Discovery claims the fake node's two collections; the keyboard connects, follows its events
// on the consumer collection, and notices the unplug on both.
class ProgramOnFakeNode : public FakeHidrawTest, public hid::DiscoveryObserver {
 protected:
  void on_device_arrived(size_t slot) override {
    std::lock_guard lock(mutex_);
    arrived_.push_back(slot);
  }
  void on_device_removed(size_t) override {}
  void on_first_pass() override { first_pass_ = true; }

  std::mutex mutex_;
  std::vector<size_t> arrived_;
  std::atomic<bool> first_pass_{false};
  devices::RecordingPage page_;
};

TEST_F(ProgramOnFakeNode, ConnectSequenceRunsThroughTheNode) {
  hid::Discovery discovery(*this, devices::supported_interfaces());
  ASSERT_TRUE(discovery.start());
  ASSERT_TRUE(page_.wait_until([&] { return first_pass_.load(); }));
  discovery.stop();
  std::vector<size_t> arrived;
  {
    std::lock_guard lock(mutex_);
    arrived = arrived_;
  }
  ASSERT_EQ(arrived.size(), 2u);
  const hid::DeviceSlot primary = discovery.slot(arrived[0]);
  const hid::DeviceSlot secondary = discovery.slot(arrived[1]);
  EXPECT_EQ(primary.path, path(emu::kVendorCollection));
  EXPECT_EQ(secondary.path, path(emu::kConsumerCollection));
  EXPECT_EQ(primary.role, hid::kInterfaceRolePrimary);

  auto kb = std::make_unique<KeyboardOnNode>(page_);
  kb->set_profile_id("2024_01_02_03_04_05_006");
  ASSERT_TRUE(kb->open_primary(primary));
  ASSERT_EQ(kb->connect_now(), protocol::kResultOk);
  const std::vector<uint8_t> block = emu_->memory(kKb, emu::Memory::kInfo);
  const auto info = kb->info_block();
  EXPECT_TRUE(std::equal(info.begin(), info.end(), block.begin()));
  EXPECT_GT(emu_->counters(kKb).per_command[protocol::CMD_READ_KEYS], 0u);

  // Both handles of the node get the event; only the consumer collection's reader acts on it.
  ASSERT_TRUE(kb->StartSyncThread(secondary.path));
  EXPECT_EQ(fake_.open_handles(node_.c_str()), 2u);
  ASSERT_TRUE(emu_->settings_changed(kKb));
  EXPECT_TRUE(page_.wait_until([&] { return !page_.refresh_requests().empty(); }));
  EXPECT_EQ(kb->primary_channel().begin(), protocol::kResultOk);
  EXPECT_EQ(kb->primary_channel().end(), protocol::kResultOk);

  // Unplugged: commands fail at once, a discovery pass finds nothing, and the removal stops
  // the event thread (its reads fail meanwhile) and closes both handles.
  ASSERT_TRUE(emu_->unplug(kKb));
  EXPECT_NE(kb->primary_channel().begin(), protocol::kResultOk);
  EXPECT_TRUE(wait_until([&] { return !hid::node_present(node_); }));
  EXPECT_TRUE(ctl::scan_interfaces("").interfaces.empty());
  DebugCapture capture;
  kb->on_disconnected();
  kb->drain();
  EXPECT_FALSE(kb->event_thread_running());
  EXPECT_EQ(capture.count(kThreadTimeoutLine), 0);
  EXPECT_EQ(fake_.open_handles(node_.c_str()), 0u);
}

}  // namespace
}  // namespace qxr::testing
