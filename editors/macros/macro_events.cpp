#include "editors/macros/macro_events.h"

#include <algorithm>

namespace qxr::editors::macros {

void MacroEventList::assign(std::vector<MacroEvent> rows) {
  rows_ = std::move(rows);
  selected_.reset();
}

void MacroEventList::select(std::optional<size_t> row) {
  selected_ = row && *row < rows_.size() ? row : std::nullopt;
}

bool MacroEventList::move_selected_to(size_t to) {
  if (!selected_ || to >= rows_.size() || to == *selected_) return false;
  const size_t from = *selected_;
  if (from < to) {
    std::rotate(rows_.begin() + static_cast<std::ptrdiff_t>(from), rows_.begin() + static_cast<std::ptrdiff_t>(from) + 1,
                rows_.begin() + static_cast<std::ptrdiff_t>(to) + 1);
  } else {
    std::rotate(rows_.begin() + static_cast<std::ptrdiff_t>(to), rows_.begin() + static_cast<std::ptrdiff_t>(from),
                rows_.begin() + static_cast<std::ptrdiff_t>(from) + 1);
  }
  selected_ = to;
  return true;
}

bool MacroEventList::move_up() { return selected_ && *selected_ > 0 && move_selected_to(*selected_ - 1); }
bool MacroEventList::move_down() { return selected_ && move_selected_to(*selected_ + 1); }
bool MacroEventList::move_to_top() { return move_selected_to(0); }
bool MacroEventList::move_to_bottom() { return !rows_.empty() && move_selected_to(rows_.size() - 1); }

bool MacroEventList::remove_selected() {
  if (!selected_) return false;
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*selected_));
  if (rows_.empty()) {
    selected_.reset();
  } else if (*selected_ >= rows_.size()) {
    selected_ = rows_.size() - 1;
  }
  return true;
}

void MacroEventList::clear() {
  rows_.clear();
  selected_.reset();
}

size_t MacroEventList::insert(size_t index, const MacroEvent& event) {
  index = std::min(index, rows_.size());
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(index), event);
  selected_ = index;
  return index;
}

size_t MacroEventList::insert_after_selected(const MacroEvent& event) {
  return insert(selected_ ? *selected_ + 1 : 0, event);
}

bool MacroEventList::set_delay(size_t row, uint16_t delay_ms) {
  if (row >= rows_.size()) return false;
  rows_[row].delay_ms = delay_ms;
  return true;
}

}  // namespace qxr::editors::macros
