// The folder contract: files appear and disappear with plug and unplug, every connection
// gets every input report, events and commands travel as raw packets.
#include <gtest/gtest.h>
#include <json/json.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "emulator/device_descriptors.h"
#include "emulator/emulator.h"
#include "emulator/report_descriptors.h"
#include "raw_client.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wait.h"

namespace qxr::emu {
namespace {

using namespace protocol;
using namespace testing;
using qxr::testing::TempFolder;
using qxr::testing::wait_until;
using std::filesystem::exists;

Json::Value read_json(const std::string& path) {
  std::ifstream in(path);
  Json::Value root;
  Json::CharReaderBuilder builder;
  std::string errors;
  EXPECT_TRUE(Json::parseFromStream(builder, in, &root, &errors)) << errors;
  return root;
}

std::vector<uint8_t> parse_hex(const std::string& text) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i + 2 <= text.size(); i += 3) {
    out.push_back(static_cast<uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
  }
  return out;
}

uint16_t event_code(const Bytes& report) {
  return static_cast<uint16_t>(report[1] | (report[2] << 8));
}

TEST(Folder, PlugWritesTheDescriptionBesideAListeningSocket) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Keyboard, DeviceType::Headset}));
  for (DeviceType type : {DeviceType::Keyboard, DeviceType::Headset}) {
    const FirmwareLayout& layout = firmware_layout(type);
    ASSERT_TRUE(exists(emu.json_path(type)));
    ASSERT_TRUE(exists(emu.socket_path(type)));
    Json::Value root = read_json(emu.json_path(type));
    EXPECT_EQ(root["vendor_id"].asUInt(), layout.vendor_id);
    EXPECT_EQ(root["product_id"].asUInt(), layout.product_id);
    EXPECT_EQ(root["interface"].asUInt(), layout.interface_number);
    EXPECT_FALSE(root["name"].asString().empty());
    EXPECT_EQ(parse_hex(root["report_descriptor"].asString()), device_report_descriptor(type));
  }
  EXPECT_FALSE(exists(emu.json_path(DeviceType::Mouse)));
  EXPECT_EQ(emu.hid_path(DeviceType::Keyboard, kVendorCollection),
            emu.socket_path(DeviceType::Keyboard) + "#vid_320f&pid_5055&mi_01&col04");
  EXPECT_EQ(emu.hid_path(DeviceType::Headset, 0),
            emu.socket_path(DeviceType::Headset) + "#vid_00c7&pid_1630&mi_03");
  // Only the two pairs: no temporary files left behind.
  size_t entries = 0;
  for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 4u);
}

TEST(Folder, UnplugRemovesTheFilesAndClosesEveryConnection) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Pad}));
  RawClient a(emu.socket_path(DeviceType::Pad)), b(emu.socket_path(DeviceType::Pad));
  ASSERT_TRUE(a.connected() && b.connected());
  ASSERT_TRUE(wait_until([&] { return emu.connection_count(DeviceType::Pad) == 2; }));
  EXPECT_FALSE(emu.plug(DeviceType::Pad));  // already plugged
  ASSERT_TRUE(emu.unplug(DeviceType::Pad));
  EXPECT_FALSE(exists(emu.json_path(DeviceType::Pad)));
  EXPECT_FALSE(exists(emu.socket_path(DeviceType::Pad)));
  EXPECT_FALSE(a.receive().has_value());
  EXPECT_FALSE(b.receive().has_value());
  EXPECT_TRUE(a.closed());
  EXPECT_TRUE(b.closed());
  EXPECT_FALSE(emu.unplug(DeviceType::Pad));
  RawClient late;
  EXPECT_FALSE(late.connect(emu.socket_path(DeviceType::Pad)));
}

TEST(Folder, ClosingAHandleIsNoticed) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Mouse}));
  RawClient a(emu.socket_path(DeviceType::Mouse));
  ASSERT_TRUE(wait_until([&] { return emu.connection_count(DeviceType::Mouse) == 1; }));
  a.close();
  EXPECT_TRUE(wait_until([&] { return emu.connection_count(DeviceType::Mouse) == 0; }));
}

TEST(Folder, MemoriesOutliveUnplugAndReplug) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Keyboard}));
  {
    RawClient c(emu.socket_path(DeviceType::Keyboard));
    uint8_t data[3] = {0x20, 0x00, 0x3A};
    auto reply = c.exchange(page(CMD_WRITE_KEYS, 3, 0, data));
    ASSERT_TRUE(reply.has_value());
    ASSERT_EQ((*reply)[kOffStatus], 0);
  }
  ASSERT_TRUE(emu.unplug(DeviceType::Keyboard));
  ASSERT_TRUE(emu.plug(DeviceType::Keyboard));
  RawClient c(emu.socket_path(DeviceType::Keyboard));
  auto reply = c.exchange(page(CMD_READ_KEYS, 3, 0));
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[kOffData + 2], 0x3A);
}

TEST(Folder, EveryConnectionGetsEveryInputReport) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Keyboard}));
  // The program's primary and secondary handles on the same interface.
  RawClient primary(emu.socket_path(DeviceType::Keyboard));
  RawClient secondary(emu.socket_path(DeviceType::Keyboard));
  ASSERT_TRUE(wait_until([&] { return emu.connection_count(DeviceType::Keyboard) == 2; }));
  auto reply = primary.exchange(page(CMD_READ_STATUS, 6, 0));
  ASSERT_TRUE(reply.has_value());
  auto copy = secondary.receive();
  ASSERT_TRUE(copy.has_value());
  EXPECT_EQ(*copy, *reply);

  ASSERT_TRUE(emu.press_key(DeviceType::Keyboard, 9));
  ASSERT_TRUE(emu.release_key(DeviceType::Keyboard, 9));
  for (RawClient* c : {&primary, &secondary}) {
    auto press = c->receive();
    auto release = c->receive();
    ASSERT_TRUE(press.has_value() && release.has_value());
    EXPECT_EQ((*press)[0], kConsumerEventReportId);
    EXPECT_EQ(event_code(*press), 0x0509);
    EXPECT_EQ(event_code(*release), 0x0609);
  }
}

TEST(Folder, SettingsChangedComesFromTheHostOrFromAProfileSwitch) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Mouse, DeviceType::Headset}));
  RawClient mouse(emu.socket_path(DeviceType::Mouse));
  RawClient headset(emu.socket_path(DeviceType::Headset));
  ASSERT_TRUE(wait_until([&] {
    return emu.connection_count(DeviceType::Mouse) == 1 && emu.connection_count(DeviceType::Headset) == 1;
  }));
  ASSERT_TRUE(emu.settings_changed(DeviceType::Headset, kEventSettingsChangedAlt));
  auto event = headset.receive();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event_code(*event), kEventSettingsChangedAlt);

  ASSERT_TRUE(emu.set_active_profile(DeviceType::Mouse, 2));
  event = mouse.receive();
  ASSERT_TRUE(event.has_value());
  EXPECT_EQ(event_code(*event), kEventSettingsChanged);
  // The program's follow-up read finds the new profile at address 0.
  auto reply = mouse.exchange(page(CMD_READ_PARAMS, 1, 0));
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[kOffData], 2);
  EXPECT_FALSE(emu.set_active_profile(DeviceType::Mouse, 200));
  EXPECT_FALSE(emu.press_key(DeviceType::Pad, 1));  // not plugged
}

TEST(Folder, HeadsetTakesLedReportsOnItsOnlyInterfaceWithoutAnswering) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Headset}));
  RawClient c(emu.socket_path(DeviceType::Headset));
  Bytes led(kLedReportSize, 0);
  led[0] = kLedReportId;
  led[1] = kLedSideA;
  led[2] = 0xAC;  // blue of LEDs 0-6
  led[4] = 200;
  ASSERT_TRUE(c.send(led));
  EXPECT_FALSE(c.receive(kSilenceWaitMs).has_value());
  EXPECT_EQ(emu.memory(DeviceType::Headset, Memory::kHeadsetLeds)[2], 200);
  EXPECT_EQ(emu.counters(DeviceType::Headset).led_reports, 1u);
  auto reply = c.exchange(page(CMD_READ_STATUS, 6, 0));
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[kOffCommand], CMD_READ_STATUS);
}

TEST(Folder, BadChecksumOnTheWireGetsStatusFF) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Pad}));
  RawClient c(emu.socket_path(DeviceType::Pad));
  CommandReport request = page(CMD_READ_INFO, 34, 0);
  request[kOffChecksumHi] ^= 0x10;
  auto reply = c.exchange(request);
  ASSERT_TRUE(reply.has_value());
  EXPECT_EQ((*reply)[kOffStatus], kStatusError);
  EXPECT_EQ(emu.last_refusal(DeviceType::Pad), Refusal::kBadChecksum);
  EXPECT_EQ(emu.exchanges(DeviceType::Pad, CMD_READ_INFO), 0u);
  reply = c.exchange(page(CMD_READ_INFO, 34, 0));
  EXPECT_EQ((*reply)[kOffStatus], 0);
  EXPECT_EQ(emu.exchanges(DeviceType::Pad, CMD_READ_INFO), 1u);
}

TEST(Folder, ALeftoverSocketFileDoesNotStopAPlug) {
  TempFolder dir;
  { std::ofstream(dir.file("pad.sock")) << "stale"; }
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Pad}));
  RawClient c(emu.socket_path(DeviceType::Pad));
  EXPECT_TRUE(c.exchange(page(CMD_BEGIN)).has_value());
}

TEST(Folder, StopLeavesTheFolderEmpty) {
  TempFolder dir;
  {
    Emulator emu(dir.path());
    ASSERT_TRUE(emu.start({DeviceType::Keyboard, DeviceType::Mouse, DeviceType::Pad, DeviceType::Headset}));
    RawClient c(emu.socket_path(DeviceType::Mouse));
    ASSERT_TRUE(c.exchange(page(CMD_BEGIN)).has_value());
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// Several program threads exchanging while the test API drives and reads the device
// (run under ThreadSanitizer too).
TEST(Folder, ConcurrentExchangesAndApiCallsStayConsistent) {
  TempFolder dir;
  Emulator emu(dir.path());
  ASSERT_TRUE(emu.start({DeviceType::Keyboard}));
  constexpr int kClients = 3;
  constexpr int kExchanges = 60;
  std::atomic<int> good{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kClients; ++t) {
    threads.emplace_back([&, t] {
      RawClient c(emu.socket_path(DeviceType::Keyboard));
      for (int i = 0; i < kExchanges; ++i) {
        uint8_t value = static_cast<uint8_t>(t);
        if (!c.send(page(CMD_WRITE_KEY_COLOURS, 1, static_cast<uint16_t>(t), &value))) return;
        // Replies to the other clients arrive too; count only ours by its offset.
        for (;;) {
          auto r = c.receive();
          if (!r) return;
          if ((*r)[kOffCommand] == CMD_WRITE_KEY_COLOURS && (*r)[kOffOffsetLo] == t) break;
        }
        ++good;
      }
    });
  }
  std::thread api([&] {
    for (int i = 0; i < 200; ++i) {
      emu.set_battery(DeviceType::Keyboard, static_cast<uint8_t>(i % 100), 1);
      // Few enough events that no reader falls a socket buffer behind.
      if (i % 4 == 0) emu.raise_event(DeviceType::Keyboard, kEventSettingsChanged);
      (void)emu.memory(DeviceType::Keyboard, Memory::kKeyColours);
      (void)emu.counters(DeviceType::Keyboard);
    }
  });
  for (auto& t : threads) t.join();
  api.join();
  EXPECT_EQ(good.load(), kClients * kExchanges);
  EXPECT_EQ(emu.exchanges(DeviceType::Keyboard, CMD_WRITE_KEY_COLOURS), uint32_t{kClients * kExchanges});
  Bytes colours = emu.memory(DeviceType::Keyboard, Memory::kKeyColours);
  for (int t = 0; t < kClients; ++t) EXPECT_EQ(colours[t], t);
}

}  // namespace
}  // namespace qxr::emu
