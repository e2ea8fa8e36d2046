#pragma once
// What the editor tests share: a window that stands in for the program's device pages (it hosts
// lighting panels and hands their notifications to the lighting editor), and a keyboard and a
// mouse on the emulator, each with its panel.
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "devices/keyboard/keyboard_device.h"
#include "devices/mouse/mouse_device.h"
#include "devices/testing/recording_page.h"
#include "editors/lighting/device_light_target.h"
#include "editors/lighting/light_control_ui.h"
#include "editors/lighting/light_editor.h"
#include "emulator/emulator.h"
#include "tests/support/emulator_test.h"
#include "ui/notification.h"

namespace qxr::editors::testing {

class QuietMousePage : public devices::MousePage {
 public:
  void set_dpi_ranges(int, int, int) override {}
  void show_dpi_stage_enabled(int, bool) override {}
  void set_dpi_check_clickable(int, bool) override {}
  void show_dpi_value(int, int, const std::string&, bool) override {}
  void show_windows_settings(const MouseSystemStages&) override {}
  int settings_tab_count() const override { return 3; }
  void select_settings_tab(int) override {}
  void show_logo_lights(std::span<const devices::IndicatorColour>) override {}
  void show_logo_button(devices::IndicatorColour) override {}
  void redraw_key_panel() override {}
  void show_tip(bool) override {}
};

// Hosts panels; every notification from below a panel goes to the lighting editor with that
// panel's device.
class LightHarness : public QWidget, public ui::NotifyHandler {
 public:
  LightHarness();
  ~LightHarness() override;

  // A panel of target's kind built from skin (the default skin when empty).
  CLightControlUI* add(LightTarget* target, const QString& skin = {});
  void Notify(const ui::Notification& n) override;

  LightEditorHooks hooks();
  std::vector<LightPanelBinding> bindings;
  std::vector<int> selected_keys;
  std::vector<SharedLight> shared;
  // How many devices were marked synchronised when the shared state was given.
  std::vector<int> marked_when_shared;
  // Notifications from the panels that the editor did not take.
  std::vector<ui::Notification> unhandled;
  int handled = 0;
};

class EmulatedLightTest : public qxr::testing::EmulatorTest {
 protected:
  static constexpr int kVendorCollection = 4;
  static constexpr const char* kProfileId = "2024_01_02_03_04_05_006";

  void SetUp() override;
  void TearDown() override;

  // Opens and connects the device, then shows its records on its panel as its page would.
  void connect_keyboard();
  void connect_mouse();
  // Waits for both devices' queued work.
  void drain();
  // The device part of a profile file as stored.
  static Json::Value stored(const std::string& profile_path);

  devices::RecordingPage kb_page_;
  devices::RecordingPage ms_page_;
  QuietMousePage mouse_page_;
  std::unique_ptr<devices::CMarluneKeyboardDevice> kb_;
  std::unique_ptr<devices::CMarluneMouseDevice> ms_;
  std::unique_ptr<DeviceLightTarget> kb_target_;
  std::unique_ptr<DeviceLightTarget> ms_target_;
  std::unique_ptr<LightHarness> harness_;
  CLightControlUI* kb_panel_ = nullptr;
  CLightControlUI* ms_panel_ = nullptr;
};

}  // namespace qxr::editors::testing
