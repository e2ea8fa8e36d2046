#include "app/pages/entry_rules.h"

namespace qxr::app {

int entry_after_hide(std::span<const EntryState> entries, int hidden) {
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    if (i != hidden && entries[static_cast<size_t>(i)].visible) return i;
  }
  return -1;
}

ListVerdict judge_entries(std::span<const EntryState> entries) {
  int visible = 0;
  int marked = 0;
  for (const EntryState& e : entries) {
    if (!e.visible) continue;
    ++visible;
    if (e.synchro) ++marked;
  }
  return {visible == 0, visible > 1, marked <= 1};
}

FirstConnected first_connected_entry(std::span<const EntryState> entries) {
  FirstConnected r;
  for (int i = 0; i < static_cast<int>(entries.size()); ++i) {
    if (!entries[static_cast<size_t>(i)].visible) continue;
    if (r.index < 0) r.index = i;
    ++r.count;
  }
  return r;
}

}  // namespace qxr::app
