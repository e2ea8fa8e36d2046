#include "devices/mouse/dpi_stages.h"

#include <algorithm>
#include <charconv>

namespace qxr::devices {

namespace {
uint16_t le16(std::span<const uint8_t> info, size_t at) {
  return at + 1 < info.size() ? static_cast<uint16_t>(info[at] | info[at + 1] << 8) : 0;
}
constexpr uint32_t kMaxTypedDpi = 0xFFFFFF;  // beyond anything a mouse takes; keeps sums small
}  // namespace

DpiLimits dpi_limits_from_info(std::span<const uint8_t> info) {
  DpiLimits l;
  const uint8_t step = kInfoDpiStep < info.size() ? info[kInfoDpiStep] : 0;
  l.step = step == 0 ? 1 : step;
  l.slider_max = le16(info, kInfoDpiSliderMax);
  l.min = le16(info, kInfoDpiMin);
  return l;
}

uint32_t dpi_edit_value(std::string_view text, const DpiLimits& limits) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) value = kMaxTypedDpi;
  else if (ec != std::errc()) value = 0;
  (void)end;
  const uint32_t dpi = static_cast<uint32_t>(std::min<uint64_t>(value, kMaxTypedDpi));
  return std::max<uint32_t>(dpi, limits.min);
}

uint16_t clamp_dpi_raw(int raw, const DpiLimits& limits) {
  const int low = (limits.min + limits.step - 1) / limits.step;
  int v = std::max(raw, low);
  if (limits.slider_max > 0) v = std::min<int>(v, limits.slider_max);
  return static_cast<uint16_t>(std::clamp(v, 0, 0xFFFF));
}

uint16_t dpi_raw_for(uint32_t dpi, const DpiLimits& limits) {
  return clamp_dpi_raw(static_cast<int>(std::min<uint32_t>(dpi / limits.step, 0xFFFF)), limits);
}

std::string dpi_edit_text(uint16_t raw, const DpiLimits& limits) {
  return std::to_string(uint32_t{raw} * limits.step);
}

size_t active_stage_count(std::span<const DpiStage> stages) {
  return static_cast<size_t>(std::count_if(stages.begin(), stages.end(), [](const DpiStage& s) { return s.stage_active != 0; }));
}

bool may_switch_off(std::span<const DpiStage> stages, size_t stage) {
  if (stage >= stages.size()) return false;
  if (stages[stage].stage_active == 0) return true;
  return active_stage_count(stages) > 1;
}

std::array<bool, kMouseStageCount> clickable_checks(std::span<const DpiStage> stages) {
  std::array<bool, kMouseStageCount> clickable;
  clickable.fill(true);
  if (active_stage_count(stages) != 1) return clickable;
  for (size_t i = 0; i < stages.size() && i < clickable.size(); ++i)
    if (stages[i].stage_active != 0) clickable[i] = false;
  return clickable;
}

}  // namespace qxr::devices
