// The default data against what the devices announce and hold (the emulated devices model
// their firmware): DPI stages inside the mouse's announced range, recoil scripts and custom
// colour sets inside the memories that receive them.
#include <gtest/gtest.h>

#include "emulator/firmware_layout.h"
#include "profile/keyboard_profile_data.h"
#include "profile/mouse_profile_data.h"
#include "tests/defaultdata/default_data.h"

namespace qxr::test {
namespace {

constexpr int kRecoilScripts = 4;
// The recoil image: a 16-byte header, per script a 2-byte offset and a 4-byte record head,
// then 4 bytes per event.
constexpr size_t kBlobHeader = 16, kPerScript = 2 + 4, kPerEvent = 4;

int Le16(const emu::FirmwareLayout& layout, size_t offset) {
  return layout.info[offset] | layout.info[offset + 1] << 8;
}

TEST(DefaultsOnTheDevices, DpiStagesLieInsideTheRangeTheMouseAnnounces) {
  const emu::FirmwareLayout mouse = emu::make_mouse_layout();
  const int step = mouse.info[emu::kInfoOffDpiStep];
  const int slider_max = Le16(mouse, emu::kInfoOffDpiSliderMax);
  const int dpi_min = Le16(mouse, emu::kInfoOffDpiMin);
  ASSERT_GT(step, 0);

  testing::TempFolder scratch;
  CMouseProfiledata profile;
  ASSERT_TRUE(LoadFirstProfile(profile, "mouse", scratch).isObject());
  const std::vector<DpiStage> stages = profile.GetDpiStages();
  ASSERT_FALSE(stages.empty());
  for (const DpiStage& s : stages) {
    // Stages hold slider units; the page shows units x step and raises values below the
    // minimum, so a stage below it would change as soon as it is shown.
    EXPECT_LE(s.DpiX(), slider_max);
    EXPECT_GE(s.DpiX() * step, dpi_min);
    EXPECT_LE(s.DpiY(), slider_max);
    EXPECT_GE(s.DpiY() * step, dpi_min);
  }
}

TEST(DefaultsOnTheDevices, FactoryRecoilScriptsFitTheMousesRecoilMemory) {
  size_t events = 0;
  for (int gun = 0; gun < kRecoilScripts; ++gun) {
    events += ReadDefaultDocument("ShootData_" + std::to_string(gun) + ".Shoot")["Events"].size();
  }
  ASSERT_GT(events, 0u);
  const size_t image = kBlobHeader + kRecoilScripts * kPerScript + events * kPerEvent;
  EXPECT_LE(image, emu::make_mouse_layout().recoil_capacity);
}

TEST(DefaultsOnTheDevices, CustomColourSetsFitTheKeyboardsColourSlots) {
  const Json::Value sets =
      ReadDefaultDocument("keyboard.Json")["Device"][0]["CustomLightMode"]["LightColorInfo"];
  ASSERT_TRUE(sets.isArray());
  EXPECT_GE(sets.size(), 1u);
  EXPECT_LE(sets.size(), emu::make_keyboard_layout().colour_slots);
}

TEST(DefaultsOnTheDevices, TheHeadsetProfileLightsEveryLedItSends) {
  testing::TempFolder scratch;
  CBasicProfiledata profile;
  ASSERT_TRUE(LoadFirstProfile(profile, "HD", scratch).isObject());
  EXPECT_EQ(profile.GetLightList().size(), emu::kHeadsetLedCount);
}

}  // namespace
}  // namespace qxr::test
