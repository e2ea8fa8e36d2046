#pragma once
// What the mouse asks of its page beyond DevicePage: the DPI stage controls, the Windows-style
// settings, the settings tabs, the logo lights and the tip label. The GUI implements it; as with
// DevicePage, calls may come from the device's executor and are queued by the page.
#include <cstdint>
#include <span>
#include <string>

#include "devices/device_page.h"
#include "profile/records.h"

namespace qxr::devices {

class MousePage {
 public:
  virtual ~MousePage() = default;

  // "DPI_slider_" i ranges over 0..slider_max, "DPI_edit_" i over 0..edit_max.
  virtual void set_dpi_ranges(int stage, int slider_max, int edit_max) = 0;
  // "DPI_layout_" i enabled and "DPI_enable_check_" i selected, or both cleared.
  virtual void show_dpi_stage_enabled(int stage, bool on) = 0;
  // Whether the user may click the stage's enable check.
  virtual void set_dpi_check_clickable(int stage, bool clickable) = 0;
  // The slider at raw, the edit box showing edit_text; current picks the current stage's look.
  virtual void show_dpi_value(int stage, int raw, const std::string& edit_text, bool current) = 0;

  // "pointer_speed_slider", "pointer_precision_check", "double_click_slider",
  // "scrolls_page_check", "scroll_speed_slider".
  virtual void show_windows_settings(const MouseSystemStages& settings) = 0;

  // Settings tabs: how many pages the tab layout has, and the page to show (its option
  // "mouse_device_seting_option_" + page selected, the others cleared).
  virtual int settings_tab_count() const = 0;
  virtual void select_settings_tab(int page) = 0;

  // Logo light buttons ("light_0_" + n), the logo button, the key panel, the tip label.
  virtual void show_logo_lights(std::span<const IndicatorColour> colours) = 0;
  virtual void show_logo_button(IndicatorColour colour) = 0;
  virtual void redraw_key_panel() = 0;
  virtual void show_tip(bool visible) = 0;
};

}  // namespace qxr::devices
