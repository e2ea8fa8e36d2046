#include "editors/macros/macro_recorder.h"

#include <algorithm>

#include "profile/macro_files.h"

namespace qxr::editors::macros {

void MacroRecorder::start(DelayMode mode, uint16_t fixed_delay_ms, RecordPlace place, uint64_t now_ms) {
  recording_ = true;
  paused_ = false;
  mode_ = mode;
  place_ = place;
  fixed_delay_ms_ = mode == DelayMode::Fixed ? fixed_delay_ms : 0;
  last_ms_ = now_ms;
  held_key_.reset();
  last_mouse_.reset();
  last_row_.reset();
}

void MacroRecorder::stop() { recording_ = paused_ = false; }

void MacroRecorder::pause() {
  if (recording_) paused_ = true;
}

void MacroRecorder::resume(uint64_t now_ms) {
  if (!paused_) return;
  paused_ = false;
  // Keys held or released elsewhere are unknown; the time away is not a pause of the macro.
  held_key_.reset();
  last_mouse_.reset();
  last_ms_ = now_ms;
}

bool MacroRecorder::key(size_t entry, bool down, uint64_t now_ms, MacroEventList& rows) {
  if (!recording_ || paused_) return false;
  // Auto-repeat sends more presses of the held key: one row for the whole hold.
  if (down) {
    if (held_key_ == entry) return false;
    held_key_ = entry;
  } else if (held_key_ == entry) {
    held_key_.reset();
  }
  const std::optional<MacroEvent> event = key_event(entry, down);
  return event && record(*event, now_ms, rows);
}

bool MacroRecorder::mouse(MouseInput input, uint64_t now_ms, MacroEventList& rows) {
  if (!recording_ || paused_ || last_mouse_ == input) return false;
  last_mouse_ = input;
  return record(mouse_event(input), now_ms, rows);
}

uint16_t MacroRecorder::take_delay(uint64_t now_ms) {
  switch (mode_) {
    case DelayMode::RealTime: {
      const uint64_t elapsed = now_ms > last_ms_ ? now_ms - last_ms_ : 0;
      last_ms_ = now_ms;
      return static_cast<uint16_t>(std::min<uint64_t>(elapsed, kMaxMacroDelayMs));
    }
    case DelayMode::Fixed:
      return fixed_delay_ms_;
    case DelayMode::None:
      return 0;
  }
  return 0;
}

size_t MacroRecorder::insertion_index(const MacroEventList& rows) const {
  if (last_row_) return *last_row_ + 1;
  const std::optional<size_t> selected = rows.selected();
  switch (place_) {
    case RecordPlace::Before:
      return selected.value_or(0);
    case RecordPlace::After:
      return selected ? *selected + 1 : rows.size();
    default:
      return rows.size();
  }
}

bool MacroRecorder::record(const MacroEvent& event, uint64_t now_ms, MacroEventList& rows) {
  if (place_ == RecordPlace::Replace) {
    const std::optional<size_t> selected = rows.selected();
    if (!selected) return false;
    MacroEvent& row = rows.row(*selected);
    row.type = event.type;
    row.button = event.button;
    return true;
  }
  if (rows.size() >= kMaxMacroEvents) return false;
  const uint16_t delay = take_delay(now_ms);
  MacroEvent added = event;
  added.delay_ms = rows.size() == 0 || mode_ != DelayMode::Fixed ? 0 : fixed_delay_ms_;
  const size_t index = rows.insert(insertion_index(rows), added);
  // The pause before this input belongs to the row recorded before it. The first row of a
  // recording leaves the rows already there as the user set them.
  if (last_row_ && index > 0) rows.set_delay(index - 1, delay);
  last_row_ = index;
  return true;
}

}  // namespace qxr::editors::macros
