// The keyboard's fading modes: keys light up (by a press, a travelling mask, a pattern or
// at random) and then fade along a decay curve.
#include <algorithm>

#include "devices/lighting/keyboard_effect_tables.h"
#include "devices/lighting/keyboard_effects.h"
#include "devices/lighting/keyboard_layout.h"
#include "devices/lighting/shared_tables.h"

namespace qxr::lighting {

namespace {
constexpr int kReactiveRise = 15;
constexpr int kReactiveFall = 5;
constexpr size_t kSparklesPerStep = 6;
constexpr size_t kBounceColumn = 9;
constexpr size_t kSweepFirstColumn = 1;
constexpr size_t kSweepLastColumn = kGridColumns - 1;
constexpr uint8_t kTopRowBit = 0x01;
// The scan: its ripple starts at key 52 and is over once it has reached key 124 and faded;
// the pair circle ends once key 72 has faded.
constexpr uint8_t kScanRippleKey = 52;
constexpr uint8_t kScanCornerKey = 124;
constexpr uint8_t kScanPairsEndKey = 72;
constexpr uint8_t kScanLastPairStep = 30;
enum ScanPhase : uint8_t { kScanRows, kScanPairs, kScanStartRipple, kScanRipple, kScanFadeOut };
constexpr int kFallingFade = 5;
constexpr unsigned kFallingColourRise = 3;
constexpr uint8_t kFillGlow = 254;
}  // namespace

void KeyboardEffects::step_reactive(const StepContext&) {
  auto& glow = state_.glow.glow;
  for (size_t key = 0; key < kKeyCount; ++key) {
    if (state_.reactive[key] == kReactivePressed) {
      glow[key] = static_cast<uint8_t>(std::min(255, glow[key] + kReactiveRise));
    } else if (state_.reactive[key] == kReactiveReleased) {
      glow[key] = static_cast<uint8_t>(std::max(0, glow[key] - kReactiveFall));
      if (glow[key] == 0) state_.reactive[key] = kReactiveIdle;
    }
  }
  show_all_faded();
}

void KeyboardEffects::step_ripple(const StepContext&) {
  MarkRippleKeys();
  ShiftRipple();
  state_.glow.decay_all(kModeRipple);
  show_all_faded();
}

void KeyboardEffects::step_row_ripple(const StepContext&) {
  MarkRippleKeys();
  SlideRipple();
  state_.glow.decay_all(kModeRowRipple);
  show_all_faded();
}

void KeyboardEffects::step_sparkle(const StepContext&) {
  for (size_t i = 0; i < kSparklesPerStep; ++i) light_key(SparkleKeys[random_.below(kSparkleKeyCount)], 255, true);
  state_.glow.decay_all(kModeSparkle);
  show_all_faded();
}

void KeyboardEffects::step_bouncing_bar(const StepContext&) {
  const uint8_t bits = state_.masks.combined(kBounceColumn);
  if (bits == kTopRowBit || bits == kBelowLastRowBit) state_.masks.mark(kBounceColumn, bits);
  state_.bar_parity ^= 1;
  if (state_.bar_parity) {
    MarkRippleKeys();
    ShiftRipple();
  }
  state_.glow.decay_all(kModeBouncingBar);
  show_all_faded();
}

void KeyboardEffects::step_sweeping_bar(const StepContext&) {
  auto& masks = state_.masks;
  if (masks.combined(kSweepFirstColumn) == kTopRowBit) masks.mark(kSweepFirstColumn, kTopRowBit);
  if (masks.combined(kSweepLastColumn) == kBelowLastRowBit) masks.mark(kSweepLastColumn, kBelowLastRowBit);
  MarkRippleKeys();
  ShiftRipple();
  state_.glow.decay_all(kModeSweepingBar);
  show_all_faded();
}

void KeyboardEffects::step_scan(const StepContext&) {
  ScanState& scan = state_.scan;
  const bool recolour = info_.multi_color != 0;
  const auto& glow = state_.glow.glow;
  switch (scan.phase) {
    case kScanRows:
      for (uint8_t key : ScanRows[scan.n % kScanRowCount]) light_key(key, 255, recolour);
      if (++scan.n >= kScanRowCount) scan = {kScanPairs, 0};
      break;
    case kScanPairs:
      if (scan.n <= kScanLastPairStep) {
        for (uint8_t key : ScanPairs[scan.n % kScanPairCount]) light_key(key, 255, recolour);
        ++scan.n;
      } else if (glow[kScanPairsEndKey] == 0) {
        scan = {kScanStartRipple, 0};
      }
      break;
    case kScanStartRipple:
      mark_key_press(kScanRippleKey);
      scan.phase = kScanRipple;
      break;
    case kScanRipple:
      MarkRippleKeys();
      ShiftRipple();
      if (glow[kScanCornerKey] != 0) scan.phase = kScanFadeOut;
      break;
    default:
      if (glow[kScanCornerKey] == 0) scan = {kScanRows, 0};
      break;
  }
  state_.glow.decay_all(kModeScan);
  show_all_faded();
}

void KeyboardEffects::step_falling_keys(const StepContext&) {
  auto& glow = state_.glow.glow;
  for (size_t key = 0; key < kKeyCount; ++key) {
    glow[key] = static_cast<uint8_t>(std::max(0, glow[key] - kFallingFade));
    state_.colour_tab[key] = static_cast<uint8_t>((state_.colour_tab[key] + kFallingColourRise) % kWheelCycle);
  }
  for (uint8_t key : FallingKeys[state_.falling_row % kFallingRowCount]) {
    if (key >= kKeyCount) continue;
    glow[key] = 255;
    state_.colour_tab[key] = 0;
  }
  state_.falling_row = static_cast<uint8_t>((state_.falling_row + 1) % kFallingRowCount);
  for (size_t key = 0; key < kKeyCount; ++key)
    show_key(key, info_.multi_color ? level() : scale8(level(), glow[key]));
}

void KeyboardEffects::step_fill(const StepContext&) {
  uint8_t& n = state_.counter;
  auto light = [&](size_t cell) {
    if (cell < kFillLength && FillOrder[cell] < kKeyCount) state_.glow.glow[FillOrder[cell]] = kFillGlow;
  };
  if (info_.fx) {
    if (n >= kFillLength) {
      n = 0;
    } else {
      light(n);
      ++n;
    }
  } else {
    if (n == 0) {
      n = kFillLength;
    } else {
      light(n);
      --n;
    }
  }
  // Every key fades, not only those on the key-order path: keys of the fill path that are
  // off that path would otherwise stay lit for good.
  state_.glow.decay_all(kModeFill);
  show_all_faded();
}

}  // namespace qxr::lighting
