#pragma once
// Recording a macro from the keys and mouse buttons that reach the window: which inputs become
// rows, where the rows go and what delays they get. Each row's delay is the pause after it, so
// a recorded row writes the time since the previous input into the row before it; the last row
// keeps 0 until something follows. The caller owns the clock and the focus: a paused recorder
// (the window lost the focus) drops everything, and on resuming the pause is not counted.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "editors/macros/macro_events.h"
#include "editors/macros/macro_tables.h"

namespace qxr::editors::macros {

enum class DelayMode { RealTime = 1, Fixed = 2, None = 3 };

// Where recorded rows go: appended, inserted before or after the selected row (the following
// ones after the last recorded, in the order typed), or replacing the selected row's input.
enum class RecordPlace { Append, Before, After, Replace };

class MacroRecorder {
 public:
  void start(DelayMode mode, uint16_t fixed_delay_ms, RecordPlace place, uint64_t now_ms);
  void stop();
  bool recording() const { return recording_; }
  DelayMode mode() const { return mode_; }

  void pause();
  void resume(uint64_t now_ms);
  bool paused() const { return paused_; }

  // Keyboard-table entry pressed or released; true when a row was added or changed.
  bool key(size_t entry, bool down, uint64_t now_ms, MacroEventList& rows);
  bool mouse(MouseInput input, uint64_t now_ms, MacroEventList& rows);

 private:
  bool record(const MacroEvent& event, uint64_t now_ms, MacroEventList& rows);
  uint16_t take_delay(uint64_t now_ms);
  size_t insertion_index(const MacroEventList& rows) const;

  bool recording_ = false;
  bool paused_ = false;
  DelayMode mode_ = DelayMode::RealTime;
  RecordPlace place_ = RecordPlace::Append;
  uint16_t fixed_delay_ms_ = 0;
  uint64_t last_ms_ = 0;
  std::optional<size_t> held_key_;
  std::optional<MouseInput> last_mouse_;
  // Where this recording's previous row went; none before its first.
  std::optional<size_t> last_row_;
};

}  // namespace qxr::editors::macros
