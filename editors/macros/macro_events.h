#pragma once
// The event rows of the macro being edited and the row the user selected. The row operations
// keep the selection on the row they moved, so repeated clicks keep moving the same row.
#include <cstddef>
#include <optional>
#include <vector>

#include "profile/records.h"

namespace qxr::editors::macros {

class MacroEventList {
 public:
  const std::vector<MacroEvent>& rows() const { return rows_; }
  size_t size() const { return rows_.size(); }
  // Replaces every row; nothing is selected.
  void assign(std::vector<MacroEvent> rows);

  std::optional<size_t> selected() const { return selected_; }
  // An index past the end selects nothing.
  void select(std::optional<size_t> row);

  // Each returns false (and changes nothing) when nothing is selected or the row cannot move.
  bool move_up();
  bool move_down();
  bool move_to_top();
  bool move_to_bottom();
  // The row below takes the selection (the one above when the last went).
  bool remove_selected();
  void clear();

  // Inserts at index (clamped to the end), selected; returns where it went.
  size_t insert(size_t index, const MacroEvent& event);
  // After the selected row, at the top when nothing is selected.
  size_t insert_after_selected(const MacroEvent& event);
  // Row i's delay; false past the end.
  bool set_delay(size_t row, uint16_t delay_ms);
  MacroEvent& row(size_t i) { return rows_[i]; }

 private:
  bool move_selected_to(size_t to);

  std::vector<MacroEvent> rows_;
  std::optional<size_t> selected_;
};

}  // namespace qxr::editors::macros
