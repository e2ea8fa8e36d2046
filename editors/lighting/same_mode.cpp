#include "editors/lighting/same_mode.h"

#include <algorithm>

#include "devices/kinds/device_kinds.h"

namespace qxr::editors {

bool uses_keyboard_modes(int kind) {
  const devices::KindRow* row = devices::kind_row(static_cast<uint16_t>(kind));
  return row != nullptr && row->light_modes == devices::LightModeSet::Keyboard;
}

std::optional<CommonEffect> common_effect_of(int kind, int mode) {
  for (size_t e = 0; e < kCommonEffects.size(); ++e) {
    const CommonEffectRow& row = kCommonEffects[e];
    if ((uses_keyboard_modes(kind) ? row.keyboard_mode : row.other_mode) == mode) return static_cast<CommonEffect>(e);
  }
  return std::nullopt;
}

uint8_t mode_for_common_effect(int kind, CommonEffect effect) {
  const CommonEffectRow& row = kCommonEffects[static_cast<size_t>(effect)];
  return uses_keyboard_modes(kind) ? row.keyboard_mode : row.other_mode;
}

std::optional<SharedLight> shared_light_from(int kind, const LightInfo& source) {
  std::optional<CommonEffect> effect = common_effect_of(kind, source.select_item);
  if (!effect) return std::nullopt;
  SharedLight shared;
  shared.effect = *effect;
  shared.light = source.light;
  shared.speed = source.speed;
  shared.fx = source.fx;
  shared.multi_color = source.multi_color;
  shared.colour = colour_of(source);
  return shared;
}

LightInfo same_mode_record(int kind, const LightInfo& current, const SharedLight& shared) {
  LightInfo l = current;
  l.select_item = mode_for_common_effect(kind, shared.effect);
  l.light = shared.light;
  l.speed = shared.speed;
  l.fx = shared.fx;
  l.multi_color = shared.multi_color;
  set_colour(l, shared.colour);
  return l;
}

std::optional<int> same_mode_rank(int kind) {
  const devices::KindRow* row = devices::kind_row(static_cast<uint16_t>(kind));
  if (row == nullptr) return std::nullopt;
  return row->same_mode_rank;
}

std::vector<size_t> same_mode_order(const std::vector<int>& kinds) {
  std::vector<size_t> order;
  for (size_t i = 0; i < kinds.size(); ++i) {
    if (same_mode_rank(kinds[i])) order.push_back(i);
  }
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t x, size_t y) { return *same_mode_rank(kinds[x]) < *same_mode_rank(kinds[y]); });
  return order;
}

}  // namespace qxr::editors
