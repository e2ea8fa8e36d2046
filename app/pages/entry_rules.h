#pragma once
// The rules that keep the device list consistent: which entry is selected after one is
// hidden, when the no-device notice shows, when synchronised lighting is possible and when
// the synchronisation marks are dropped.
#include <span>

namespace qxr::app {

struct EntryState {
  bool visible = false;
  bool selected = false;
  bool synchro = false;
};

// The entry to show and select when entry `hidden` goes: the first other visible entry, or -1
// when there is none (the notice is shown then; no entry of an absent device comes back).
int entry_after_hide(std::span<const EntryState> entries, int hidden);

struct ListVerdict {
  bool show_notice = false;    // no entry visible: "No_device_Link"
  bool several_visible = false;  // synchronised lighting possible
  bool clear_marks = false;    // at most one visible entry marked
};

ListVerdict judge_entries(std::span<const EntryState> entries);

// The first visible entry and the number of visible entries.
struct FirstConnected {
  int index = -1;
  int count = 0;
};
FirstConnected first_connected_entry(std::span<const EntryState> entries);

}  // namespace qxr::app
