#pragma once
// A DevicePage that remembers what the device asked of it, for tests. Thread-safe: the
// device calls it from its executor and worker threads.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "devices/device_page.h"

namespace qxr::devices {

class RecordingPage : public DevicePage {
 public:
  struct OwnerMessage {
    uint32_t message;
    intptr_t first;
    intptr_t second;
  };

  void set_key_colour(int key, IndicatorColour colour) override;
  void show_indicators(std::span<const IndicatorColour> colours) override;
  bool indicators_visible() const override { return visible_.load(); }
  void set_indicators_visible(bool visible) { visible_.store(visible); }
  void show_lighting(const LightInfo& light, const AudioLightInfo& music) override;
  void select_custom_group(int group) override;
  void set_colour_picker(uint32_t first, uint32_t second, uint8_t selector) override;
  bool read_colour_picker(uint32_t& first, uint32_t& second, uint8_t& selector) override;
  void set_polling_option(int option) override;
  void set_repeat_delay_option(int option, int delay_ms) override;
  void set_repeat_rate(int rate) override;
  void set_system_flag(SystemFlag flag, bool on) override;
  void clear_repeat_input() override;
  void key_list_changed() override;
  void show_power_status(const PowerStatus& status) override;
  void post_owner_message(uint32_t message, intptr_t first, intptr_t second) override;
  void request_refresh(int delay_ms) override;
  void select_function_pages(int function_page, int key_function_page) override;
  void operation_done(DeviceOperation operation, int result) override;

  // How often a call was made (by its method name).
  int count(const std::string& call) const;
  // Blocks until pred holds (checked after every call and every few ms) or timeout_ms passed.
  bool wait_until(const std::function<bool()>& pred, int timeout_ms = 5000);
  void clear();

  std::vector<IndicatorColour> last_indicators() const;
  std::map<int, IndicatorColour> key_colours() const;
  std::optional<LightInfo> last_light_info() const;
  std::optional<AudioLightInfo> last_audio_light_info() const;
  int custom_group() const;
  int polling_option() const;
  int repeat_delay_option() const;
  int repeat_delay_ms() const;
  int repeat_rate() const;
  bool flag(SystemFlag flag) const;
  std::optional<PowerStatus> power_status() const;
  std::vector<OwnerMessage> owner_messages() const;
  std::vector<int> refresh_requests() const;
  std::pair<int, int> function_pages() const;
  // Results of an operation, in the order they arrived.
  std::vector<int> results(DeviceOperation operation) const;
  // What read_colour_picker hands out; without it the page has no picker.
  void set_picker(uint32_t first, uint32_t second, uint8_t selector);

 private:
  void note(const std::string& call);  // with mutex_ held

  std::atomic<bool> visible_{true};
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::map<std::string, int> counts_;
  std::vector<IndicatorColour> indicators_;
  std::map<int, IndicatorColour> key_colours_;
  std::optional<LightInfo> light_info_;
  std::optional<AudioLightInfo> audio_light_info_;
  int custom_group_ = -1;
  int polling_option_ = -1, repeat_delay_option_ = -1, repeat_delay_ms_ = -1, repeat_rate_ = -1;
  std::map<SystemFlag, bool> flags_;
  std::optional<PowerStatus> power_;
  std::vector<OwnerMessage> messages_;
  std::vector<int> refreshes_;
  std::pair<int, int> pages_{-1, -1};
  std::map<DeviceOperation, std::vector<int>> results_;
  std::optional<std::tuple<uint32_t, uint32_t, uint8_t>> picker_;
};

}  // namespace qxr::devices
