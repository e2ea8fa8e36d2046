#pragma once
// A device page: the widget tree of the model's page skin, the device object that talks to
// the device, and the bridge between them. The device calls the DevicePage operations from
// its own threads; every one of them is queued onto the UI thread. Light frames are coalesced
// (only the newest waits) and dropped while the page is not on screen, and an indicator
// repaints only when its colour changes.
#include <QPointer>
#include <QString>
#include <QWidget>

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "app/pages/device_models.h"
#include "app/pages/kind_pages.h"
#include "devices/device_page.h"
#include "devices/usb_device.h"
#include "editors/headset/headset_page_bridge.h"
#include "editors/keys/key_page_bridge.h"
#include "editors/macros/macro_page_bridge.h"
#include "editors/recoil/recoil_page_bridge.h"
#include "editors/lighting/light_page_bridge.h"

class CDeviceKeyButtonUI;
class CDeviceProfileUI;
class CMpDevicePowerUI;
class CSelectPanelUI;

namespace qxr::app {

class DevicePageWidget;

// What a page passes on to the main window.
class PageOwner {
 public:
  virtual ~PageOwner() = default;
  virtual void page_refresh_requested(DevicePageWidget* page, int delay_ms) = 0;
  virtual void page_owner_message(DevicePageWidget* page, uint32_t message, intptr_t first, intptr_t second) = 0;
  virtual void page_operation_done(DevicePageWidget* page, devices::DeviceOperation op, int result) = 0;
};

// Names the code looks up in every page skin (a test checks them against the skins).
inline constexpr const char* kPageRequiredControls[] = {"tab_header_device", "DeviceProfileItem",
                                                        "device_option_switch", "text_test"};
inline constexpr const char* kKeyboardRequiredControls[] = {
    "keyboard_device_key_light", "device_key_light", "polling_rate_option_0", "polling_rate_option_3",
    "repeat_delay_check_0", "repeat_delay_check_3", "repeat_delay_time_label1", "repeat_rate_slider",
    "repeat_input_richedit", "6flag_option", "wflag_option", "winlockflag_option"};
inline constexpr char kOptionSwitchName[] = "device_option_switch";
// An option page with this property set hides the device picture while shown.
inline constexpr char kHidesPictureProperty[] = "hidespicture";
inline constexpr char kLightSummaryName[] = "light_summary_text";

class DevicePageWidget : public QWidget, public devices::DevicePage {
  Q_OBJECT
 public:
  // model_row: the kind's row in devices::device_kinds().
  explicit DevicePageWidget(size_t model_row, QWidget* parent = nullptr);
  ~DevicePageWidget() override;

  bool loaded() const { return content_ != nullptr && device_ != nullptr; }
  size_t model_row() const { return model_row_; }
  const devices::KindRow& model() const { return devices::device_kinds()[model_row_]; }
  devices::CMarluneUSBDevice* device() const { return device_.get(); }
  CDeviceProfileUI* profile_panel() const { return profile_; }
  CSelectPanelUI* key_panel() const { return key_panel_; }
  QWidget* content() const { return content_; }
  CDeviceKeyButtonUI* key_button(int index) const;
  CDeviceKeyButtonUI* light_indicator(int index) const;
  int key_button_count() const { return static_cast<int>(keys_.size()); }
  int light_indicator_count() const { return static_cast<int>(lights_.size()); }

  void set_owner(PageOwner* owner) { owner_ = owner; }
  void attach_power_panel(CMpDevicePowerUI* panel);
  CMpDevicePowerUI* power_panel() const;
  // The page's lighting and key panels and its device, once the device exists.
  editors::LightPageBridge* light_bridge() const { return light_.get(); }
  editors::KeyPageBridge* key_bridge() const { return keys_panel_.get(); }
  editors::MacroPageBridge* macro_bridge() const { return macros_panel_.get(); }
  editors::HeadsetPageBridge* headset_bridge() const { return headset_panels_.get(); }
  editors::RecoilPageBridge* recoil_bridge() const { return recoil_panel_.get(); }
  // Every key of the picture labelled from its current assignment (the device's key list).
  void rebuild_key_labels();

  // Loads the selected profile into the device and sends it.
  void apply_selected_profile();
  // The macros the keys use to the device, where the kind keeps them.
  void send_macros();
  // A control of the page changed (system settings of the keyboard, the mouse's settings).
  void on_setting_control(const QString& name, qintptr value);
  // A DPI slider being dragged: its edit follows.
  void show_moving_dpi(int stage, int raw);
  // "default_btn" and "reset_repeat_btn": system settings back to the model's defaults.
  void reset_system_settings(bool repeat_only);
  void show_option_page(int index);
  // Key buttons the rubber band selected.
  QList<int> selected_keys() const;

  // Light frames shown since start, and indicator colour changes among them.
  uint64_t frames_shown() const { return frames_shown_; }
  uint64_t colour_changes() const { return colour_changes_; }
  bool on_screen() const { return on_screen_.load(std::memory_order_relaxed); }
  bool indicators_visible() const override { return on_screen(); }

  // --- devices::DevicePage (any thread) ---
  void set_key_colour(int key, devices::IndicatorColour colour) override;
  void show_indicators(std::span<const devices::IndicatorColour> colours) override;
  void show_lighting(const LightInfo& light, const AudioLightInfo& music) override;
  void select_custom_group(int group) override;
  void set_colour_picker(uint32_t first, uint32_t second, uint8_t selector) override;
  bool read_colour_picker(uint32_t& first, uint32_t& second, uint8_t& selector) override;
  void set_polling_option(int option) override;
  void set_repeat_delay_option(int option, int delay_ms) override;
  void set_repeat_rate(int rate) override;
  void set_system_flag(devices::SystemFlag flag, bool on) override;
  void clear_repeat_input() override;
  void key_list_changed() override;
  void show_power_status(const devices::PowerStatus& status) override;
  void post_owner_message(uint32_t message, intptr_t first, intptr_t second) override;
  void request_refresh(int delay_ms) override;
  void select_function_pages(int function_page, int key_function_page) override;
  void operation_done(devices::DeviceOperation operation, int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  template <typename F>
  void on_ui(F&& work);
  void on_keyboard_control(devices::SystemSettings& settings, const QString& name, qintptr value);
  void on_mouse_control(devices::PointerSettings& settings, const QString& name, qintptr value);
  void setup_device();
  // The primary screen's size, now and whenever it changes.
  void follow_screen_size();
  void bind_indicators();
  void apply_pending_frame();
  void apply_indicator(int index, const devices::IndicatorColour& colour);
  void check_option(const QString& prefix, int option);
  void set_flag_control(const char* name, bool on);
  void show_repeat_delay(int delay_ms);
  void show_light_summary(const LightInfo& light);
  QWidget* find(const QString& name) const;

  size_t model_row_;
  QWidget* content_ = nullptr;
  CDeviceProfileUI* profile_ = nullptr;
  CSelectPanelUI* key_panel_ = nullptr;
  QPointer<CMpDevicePowerUI> power_;
  std::vector<CDeviceKeyButtonUI*> keys_;
  std::vector<CDeviceKeyButtonUI*> lights_;
  PageOwner* owner_ = nullptr;

  std::atomic<bool> on_screen_{false};
  std::mutex frame_mutex_;
  std::vector<devices::IndicatorColour> pending_frame_;
  std::atomic<bool> frame_queued_{false};
  UiMailbox* mailbox_ = new UiMailbox(this);
  uint64_t frames_shown_ = 0;
  uint64_t colour_changes_ = 0;

  std::unique_ptr<MousePageAdapter> mouse_page_;
  std::unique_ptr<HeadsetPageAdapter> audio_page_;
  std::unique_ptr<editors::LightPageBridge> light_;
  std::unique_ptr<editors::KeyPageBridge> keys_panel_;
  std::unique_ptr<editors::MacroPageBridge> macros_panel_;
  std::unique_ptr<editors::HeadsetPageBridge> headset_panels_;
  std::unique_ptr<editors::RecoilPageBridge> recoil_panel_;
  // Last, so the device (and its threads, which call this page) goes first.
  std::unique_ptr<devices::CMarluneUSBDevice> device_;
};

}  // namespace qxr::app
