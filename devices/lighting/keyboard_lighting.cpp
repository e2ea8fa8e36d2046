#include "devices/lighting/keyboard_lighting.h"

namespace qxr::lighting {

KeyboardLighting::KeyboardLighting(uint32_t seed) : effects_(seed) {}

bool KeyboardLighting::publish_locked(const KeyFrame& frame) {
  // Same frame, same version: whoever sends or paints frames can tell nothing changed.
  if (published_ && *published_ == frame) return false;
  published_ = frame;
  mailbox_.back() = frame;
  mailbox_.publish();
  return true;
}

void KeyboardLighting::show_uniform(const LedRecord& led) {
  std::lock_guard lock(mutex_);
  KeyFrame frame;
  frame.fill(led);
  publish_locked(frame);
}

void KeyboardLighting::set_light_info(const LightInfo& info, bool prepare) {
  std::lock_guard lock(mutex_);
  effects_.set_light_info(info);
  if (!prepare) return;
  effects_.PrepareMode(info.select_item);
  music_.clear();
  publish_locked(effects_.frame());
}

void KeyboardLighting::set_program_steps(std::vector<LightProgramStep> steps) {
  std::lock_guard lock(mutex_);
  program_.set_steps(std::move(steps));
  effects_.end_quiet();
}

uint64_t KeyboardLighting::quiet_until() const {
  std::lock_guard lock(mutex_);
  return effects_.quiet_until();
}

LightInfo KeyboardLighting::light_info() const {
  std::lock_guard lock(mutex_);
  return effects_.light_info();
}

void KeyboardLighting::set_music_style(const MusicStyle& style) {
  std::lock_guard lock(mutex_);
  effects_.set_music_style(style);
}

void KeyboardLighting::set_music_colour_pair(uint32_t first, uint32_t second) {
  set_music_style(music_style_from_colour_pair(first, second));
}

void KeyboardLighting::PrepareMode(uint8_t mode) {
  std::lock_guard lock(mutex_);
  effects_.PrepareMode(mode);
  music_.clear();
  publish_locked(effects_.frame());
}

void KeyboardLighting::ResetEffectState() {
  std::lock_guard lock(mutex_);
  effects_.ResetEffectState();
  music_.clear();
  publish_locked(effects_.frame());
}

void KeyboardLighting::restart_after_profile() {
  std::lock_guard lock(mutex_);
  effects_.restart_after_profile();
}

void KeyboardLighting::set_custom_colours(std::span<const Rgb, kKeyCount> colours) {
  std::lock_guard lock(mutex_);
  effects_.set_custom_colours(colours);
}

bool KeyboardLighting::SetCustomKeyColour(size_t key, Rgb colour) {
  std::lock_guard lock(mutex_);
  if (!effects_.SetCustomKeyColour(key, colour)) return false;
  publish_locked(effects_.frame());
  return true;
}

void KeyboardLighting::OnKeyEvent(size_t key, uint8_t action) {
  std::lock_guard lock(mutex_);
  effects_.OnKeyEvent(key, action);
}

uint32_t KeyboardLighting::step_ticks() const {
  std::lock_guard lock(mutex_);
  const LightInfo& info = effects_.light_info();
  return keyboard_step_ticks(info.select_item, info.speed);
}

bool KeyboardLighting::step(uint64_t now_ms, bool take_music) {
  std::lock_guard lock(mutex_);
  MusicFrame music;
  if (effects_.mode() == kModeMusic && take_music) {
    music_.take(music);
  } else if (effects_.mode() == kModeFedColour) {
    music.levels = take_music ? music_.take_levels(music.fresh) : music_.levels();
  }
  effects_.step(now_ms, music, program_);
  return publish_locked(effects_.frame()) && music.fresh;
}

bool KeyboardLighting::in_music_mode() const {
  std::lock_guard lock(mutex_);
  return effects_.mode() == kModeMusic || effects_.mode() == kModeFedColour;
}

bool KeyboardLighting::music_waiting() const { return in_music_mode() && music_.fresh(); }

}  // namespace qxr::lighting
