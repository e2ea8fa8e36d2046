// The registry of device kinds: its rows agree with the interface table discovery claims from,
// with the emulated devices, with what each kind's device object offers, and with the option
// tabs and lines the program shows per kind.
#include "devices/kinds/device_kinds.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <string>

#include "core/thread_name.h"
#include "devices/usb_device.h"
#include "emulator/emulator.h"
#include "tests/devices_kinds/kinds_fixture.h"

namespace qxr::devices::testing {
namespace {

TEST(DeviceKinds, EveryRowIsFoundByItsKindsAndItsPrimaryInterface) {
  const hid::InterfaceTable table = supported_interfaces();
  size_t interfaces = 0;
  for (const KindRow& row : device_kinds()) {
    EXPECT_EQ(kind_row(row.kind), &row) << row.name;
    if (row.receiver_kind != kKindNone) {
      EXPECT_EQ(kind_row(row.receiver_kind), &row) << row.name;
    }
    const hid::SupportedInterface& p = row.primary();
    EXPECT_EQ(p.role, hid::kInterfaceRolePrimary) << row.name;
    EXPECT_EQ(hid::find_row(table, p.vendor_id, p.product_id, row.kind, hid::kInterfaceRolePrimary),
              static_cast<int>(interfaces))
        << row.name;
    for (const hid::SupportedInterface& i : row.interfaces) EXPECT_EQ(i.kind, row.kind) << row.name;
    interfaces += row.interfaces.size();
  }
  EXPECT_EQ(table.size(), interfaces);
  EXPECT_EQ(kind_row(kKindReceiverMouse), kind_row(kKindMouse));
  for (uint16_t none : {0, 4, 5, 42}) EXPECT_EQ(kind_row(none), nullptr) << none;
}

TEST(DeviceKinds, TheInterfaceTableKeepsItsSevenRowsInOrder) {
  const hid::InterfaceTable t = supported_interfaces();
  ASSERT_EQ(t.size(), 7u);
  EXPECT_EQ(hid::find_row(t, 0x320F, 0x5055, kKindKeyboard, hid::kInterfaceRolePrimary), 0);
  EXPECT_EQ(hid::find_row(t, 0x320F, 0x5055, kKindKeyboard, hid::kInterfaceRoleSecondary), 1);
  EXPECT_EQ(hid::find_row(t, 0, 0, kKindMouse, hid::kInterfaceRolePrimary), 2);
  EXPECT_EQ(hid::find_row(t, 0, 0, kKindMouse, hid::kInterfaceRoleSecondary), 3);
  EXPECT_EQ(hid::find_row(t, 0x320F, 0x1004, kKindMousePad, hid::kInterfaceRolePrimary), 4);
  EXPECT_EQ(hid::find_row(t, 0x320F, 0x1004, kKindMousePad, hid::kInterfaceRoleSecondary), 5);
  EXPECT_EQ(hid::find_row(t, 0x00C7, 0x1630, kKindHeadset, hid::kInterfaceRolePrimary), 6);
  EXPECT_EQ(hid::find_row(t, 0x00C7, 0x1630, kKindHeadset, hid::kInterfaceRoleSecondary), -1);
  EXPECT_EQ(hid::find_row(t, 0x320F, 0x5055, kKindReceiverMouse, hid::kInterfaceRolePrimary), -1);
  for (size_t i = 0; i < 6; ++i) {
    const auto& r = t[i];
    EXPECT_EQ(r.interface_number, 1);
    EXPECT_EQ(r.collection_number, r.role == hid::kInterfaceRolePrimary ? 4 : 3);
    EXPECT_EQ(r.usage_page, r.role == hid::kInterfaceRolePrimary ? 0xFF1C : 0x000C);
    EXPECT_EQ(r.usage, r.role == hid::kInterfaceRolePrimary ? 0x92 : 0x01);
  }
  EXPECT_EQ(t[6].interface_number, 3);
  EXPECT_EQ(t[6].collection_number, 0);
  EXPECT_EQ(t[6].usage_page, 0x0C);
  EXPECT_EQ(t[6].usage, 0x01);
  for (const auto& r : t) {
    EXPECT_EQ(r.connected, 0);
    EXPECT_EQ(r.reserved[0], 0);
    EXPECT_EQ(r.reserved[1], 0);
  }
}

TEST(DeviceKinds, LayoutValuesGiveEachPageAndPanelItsOwnPlace) {
  std::set<int> pages, power, order;
  for (const KindRow& row : device_kinds()) {
    EXPECT_TRUE(pages.insert(row.layout.page).second);
    EXPECT_TRUE(order.insert(row.layout.order).second);
    if (row.layout.power_page >= 0) {
      EXPECT_TRUE(power.insert(row.layout.power_page).second);
    }
  }
  // Pages and panels fill their switches from index 0 without gaps.
  EXPECT_EQ(*pages.rbegin(), static_cast<int>(pages.size()) - 1);
  EXPECT_EQ(*power.rbegin(), static_cast<int>(power.size()) - 1);
}

TEST(DeviceKinds, OptionTabsByKind) {
  using V = TabVisibility;
  auto tabs = [](uint16_t kind) { return OptionTabVisibility(kind_row(kind)->option_tabs); };
  const auto keyboard = tabs(kKindKeyboard);
  EXPECT_EQ(keyboard[4], V::kHidden);  // cursor
  EXPECT_EQ(std::count(keyboard.begin(), keyboard.end(), V::kAsPageDefines), 8);
  const auto mouse = tabs(kKindReceiverMouse);
  EXPECT_EQ(std::count(mouse.begin(), mouse.end(), V::kAsPageDefines), 8);
  EXPECT_EQ(mouse[8], V::kShown);  // recoil
  const auto pad = tabs(kKindMousePad);
  for (int t : {1, 2, 3, 4}) EXPECT_EQ(pad[static_cast<size_t>(t)], V::kHidden) << t;
  const auto headset = tabs(kKindHeadset);
  for (int t : {5, 6, 7}) EXPECT_EQ(headset[static_cast<size_t>(t)], V::kShown) << t;
  for (int t : {1, 2, 3, 4}) EXPECT_EQ(headset[static_cast<size_t>(t)], V::kHidden) << t;
  EXPECT_EQ(headset[0], V::kAsPageDefines);
  EXPECT_EQ(kOptionTabNames[5], "6533_voice_Op_tab");
  const auto none = OptionTabVisibility(OptionTabRule{});
  EXPECT_EQ(std::count(none.begin(), none.end(), V::kAsPageDefines), 9);
}

using DeviceKindsOnTheEmulator = KindsTest;

TEST_F(DeviceKindsOnTheEmulator, EveryRowsEmulatedModelFitsItsPrimaryInterface) {
  const hid::InterfaceTable table = supported_interfaces();
  ASSERT_TRUE(start({emu::kAllDeviceTypes.begin(), emu::kAllDeviceTypes.end()}));
  for (const KindRow& row : device_kinds()) {
    const std::optional<emu::DeviceType> type = emu::parse_device_type(row.name);
    ASSERT_TRUE(type) << row.name;
    const hid::DeviceSlot record = hid::record_from_path(path(*type, row.primary().collection_number));
    EXPECT_EQ(record.vendor_id, row.primary().vendor_id) << row.name;
    EXPECT_EQ(record.product_id, row.primary().product_id) << row.name;
    EXPECT_EQ(record.interface_number, row.primary().interface_number) << row.name;
    EXPECT_TRUE(hid::candidate_fits(record, hid::make_slot_list(table), table)) << row.name;
  }
}

TEST_F(DeviceKindsOnTheEmulator, EachKindsDeviceOffersWhatItsCapabilitiesSay) {
  RecordingMousePage mouse;
  RecordingAudioPage audio;
  for (const KindRow& row : device_kinds()) {
    std::unique_ptr<CMarluneUSBDevice> device = row.make({&page_, &mouse, &audio, true});
    ASSERT_NE(device, nullptr) << row.name;
    device->set_power_mode(row.power_mode);
    EXPECT_EQ(device->get_kind(), row.kind) << row.name;
    const DeviceCapabilities c = device->capabilities();
    EXPECT_EQ(c.keys, device->key_assignments() != nullptr) << row.name;
    EXPECT_EQ(c.macros, device->macro_list() != nullptr) << row.name;
    EXPECT_EQ(c.recoil, device->recoil_scripts() != nullptr) << row.name;
    EXPECT_EQ(c.system_settings, device->system_settings() != nullptr) << row.name;
    EXPECT_EQ(c.pointer_settings, device->pointer_settings() != nullptr) << row.name;
    EXPECT_EQ(c.audio, device->audio_controls() != nullptr) << row.name;
    EXPECT_EQ(c.power_status, row.power_mode != kPowerModeNone) << row.name;
    EXPECT_EQ(c.music, row.light_modes == LightModeSet::Keyboard) << row.name;
  }
  // A kind whose own page is missing is not made.
  EXPECT_EQ(kind_row(kKindMouse)->make({&page_, nullptr, &audio, true}), nullptr);
  EXPECT_EQ(kind_row(kKindHeadset)->make({&page_, &mouse, nullptr, true}), nullptr);
}

// The names of this process's threads, as `top -H` shows them.
std::multiset<std::string> thread_names() {
  std::multiset<std::string> names;
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) return names;
  while (dirent* e = readdir(tasks)) {
    if (e->d_name[0] == '.') continue;
    std::ifstream comm(std::string("/proc/self/task/") + e->d_name + "/comm");
    std::string name;
    if (std::getline(comm, name)) names.insert(name);
  }
  closedir(tasks);
  return names;
}

TEST_F(DeviceKindsOnTheEmulator, EveryThreadOfAConnectedDeviceSaysItsKindAndRole) {
  ASSERT_TRUE(start({emu::kAllDeviceTypes.begin(), emu::kAllDeviceTypes.end()}));
  RecordingMousePage mouse;
  RecordingAudioPage audio;
  std::vector<std::unique_ptr<CMarluneUSBDevice>> devices;
  for (const KindRow& row : device_kinds()) {
    std::unique_ptr<CMarluneUSBDevice> device = row.make({&page_, &mouse, &audio, true});
    ASSERT_NE(device, nullptr) << row.name;
    device->set_thread_owner(std::string(row.name));
    device->set_profile_id(kTestProfileId);
    device->set_model_folder(std::string(row.model_folder));
    device->set_led_count(static_cast<size_t>(row.led_count));
    device->set_page_file(std::string(row.page_file));
    const emu::DeviceType type = *emu::parse_device_type(row.name);
    ASSERT_TRUE(device->open_primary(path(type, row.primary().collection_number), false)) << row.name;
    device->on_connected();
    if (row.interfaces.size() > 1) {
      ASSERT_TRUE(device->StartSyncThread(path(type, row.interfaces[1].collection_number))) << row.name;
    }
    device->drain();
    devices.push_back(std::move(device));
  }
  const std::multiset<std::string> names = thread_names();
  for (const KindRow& row : device_kinds()) {
    const std::string owner(row.name);
    EXPECT_TRUE(names.count(owner + " exec")) << owner;
    EXPECT_TRUE(names.count(owner + " light")) << owner;
    EXPECT_EQ(names.count(owner + " events"), row.interfaces.size() > 1 ? 1u : 0u) << owner;
  }
  // No thread but the main one (and ThreadSanitizer's own) is left with the program's name.
#if defined(__SANITIZE_THREAD__)
  constexpr size_t kUnnamed = 2;
#else
  constexpr size_t kUnnamed = 1;
#endif
  EXPECT_EQ(names.count(this_thread_name()), kUnnamed);
}

}  // namespace
}  // namespace qxr::devices::testing
