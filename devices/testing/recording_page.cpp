#include "devices/testing/recording_page.h"

#include <algorithm>
#include <chrono>

namespace qxr::devices {

void RecordingPage::note(const std::string& call) {
  ++counts_[call];
  cv_.notify_all();
}

#define QXR_RECORD(name) \
  std::lock_guard lock(mutex_); \
  note(name)

void RecordingPage::set_key_colour(int key, IndicatorColour colour) {
  QXR_RECORD("set_key_colour");
  key_colours_[key] = colour;
}

void RecordingPage::show_indicators(std::span<const IndicatorColour> colours) {
  QXR_RECORD("show_indicators");
  indicators_.assign(colours.begin(), colours.end());
}

void RecordingPage::show_lighting(const LightInfo& light, const AudioLightInfo& music) {
  QXR_RECORD("show_lighting");
  light_info_ = light;
  audio_light_info_ = music;
}

void RecordingPage::select_custom_group(int group) {
  QXR_RECORD("select_custom_group");
  custom_group_ = group;
}

void RecordingPage::set_colour_picker(uint32_t first, uint32_t second, uint8_t selector) {
  QXR_RECORD("set_colour_picker");
  picker_ = std::make_tuple(first, second, selector);
}

bool RecordingPage::read_colour_picker(uint32_t& first, uint32_t& second, uint8_t& selector) {
  QXR_RECORD("read_colour_picker");
  if (!picker_) return false;
  std::tie(first, second, selector) = *picker_;
  return true;
}

void RecordingPage::set_polling_option(int option) {
  QXR_RECORD("set_polling_option");
  polling_option_ = option;
}

void RecordingPage::set_repeat_delay_option(int option, int delay_ms) {
  QXR_RECORD("set_repeat_delay_option");
  repeat_delay_option_ = option;
  repeat_delay_ms_ = delay_ms;
}

void RecordingPage::set_repeat_rate(int rate) {
  QXR_RECORD("set_repeat_rate");
  repeat_rate_ = rate;
}

void RecordingPage::set_system_flag(SystemFlag flag, bool on) {
  QXR_RECORD("set_system_flag");
  flags_[flag] = on;
}

void RecordingPage::clear_repeat_input() { QXR_RECORD("clear_repeat_input"); }

void RecordingPage::key_list_changed() { QXR_RECORD("key_list_changed"); }

void RecordingPage::show_power_status(const PowerStatus& status) {
  QXR_RECORD("show_power_status");
  power_ = status;
}

void RecordingPage::post_owner_message(uint32_t message, intptr_t first, intptr_t second) {
  QXR_RECORD("post_owner_message");
  messages_.push_back({message, first, second});
}

void RecordingPage::request_refresh(int delay_ms) {
  QXR_RECORD("request_refresh");
  refreshes_.push_back(delay_ms);
}

void RecordingPage::select_function_pages(int function_page, int key_function_page) {
  QXR_RECORD("select_function_pages");
  if (function_page >= 0) pages_.first = function_page;
  if (key_function_page >= 0) pages_.second = key_function_page;
}

void RecordingPage::operation_done(DeviceOperation operation, int result) {
  QXR_RECORD("operation_done");
  results_[operation].push_back(result);
}

#undef QXR_RECORD

int RecordingPage::count(const std::string& call) const {
  std::lock_guard lock(mutex_);
  auto it = counts_.find(call);
  return it == counts_.end() ? 0 : it->second;
}

bool RecordingPage::wait_until(const std::function<bool()>& pred, int timeout_ms) {
  // Woken by every page call, and every few ms for conditions the page does not see.
  constexpr auto kRecheck = std::chrono::milliseconds(5);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  std::unique_lock lock(mutex_);
  for (;;) {
    lock.unlock();
    bool ok = pred();
    lock.lock();
    if (ok) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    cv_.wait_until(lock, std::min(deadline, std::chrono::steady_clock::now() + kRecheck));
  }
}

void RecordingPage::clear() {
  std::lock_guard lock(mutex_);
  counts_.clear();
  indicators_.clear();
  key_colours_.clear();
  messages_.clear();
  refreshes_.clear();
  results_.clear();
  power_.reset();
}

std::vector<IndicatorColour> RecordingPage::last_indicators() const {
  std::lock_guard lock(mutex_);
  return indicators_;
}
std::map<int, IndicatorColour> RecordingPage::key_colours() const {
  std::lock_guard lock(mutex_);
  return key_colours_;
}
std::optional<LightInfo> RecordingPage::last_light_info() const {
  std::lock_guard lock(mutex_);
  return light_info_;
}
std::optional<AudioLightInfo> RecordingPage::last_audio_light_info() const {
  std::lock_guard lock(mutex_);
  return audio_light_info_;
}
int RecordingPage::custom_group() const {
  std::lock_guard lock(mutex_);
  return custom_group_;
}
int RecordingPage::polling_option() const {
  std::lock_guard lock(mutex_);
  return polling_option_;
}
int RecordingPage::repeat_delay_option() const {
  std::lock_guard lock(mutex_);
  return repeat_delay_option_;
}
int RecordingPage::repeat_delay_ms() const {
  std::lock_guard lock(mutex_);
  return repeat_delay_ms_;
}
int RecordingPage::repeat_rate() const {
  std::lock_guard lock(mutex_);
  return repeat_rate_;
}
bool RecordingPage::flag(SystemFlag flag) const {
  std::lock_guard lock(mutex_);
  auto it = flags_.find(flag);
  return it != flags_.end() && it->second;
}
std::optional<PowerStatus> RecordingPage::power_status() const {
  std::lock_guard lock(mutex_);
  return power_;
}
std::vector<RecordingPage::OwnerMessage> RecordingPage::owner_messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}
std::vector<int> RecordingPage::refresh_requests() const {
  std::lock_guard lock(mutex_);
  return refreshes_;
}
std::pair<int, int> RecordingPage::function_pages() const {
  std::lock_guard lock(mutex_);
  return pages_;
}
std::vector<int> RecordingPage::results(DeviceOperation operation) const {
  std::lock_guard lock(mutex_);
  auto it = results_.find(operation);
  return it == results_.end() ? std::vector<int>{} : it->second;
}
void RecordingPage::set_picker(uint32_t first, uint32_t second, uint8_t selector) {
  std::lock_guard lock(mutex_);
  picker_ = std::make_tuple(first, second, selector);
}

}  // namespace qxr::devices
