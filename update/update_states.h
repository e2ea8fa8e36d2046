#pragma once
// What an update row shows in each of its states, and what the update page shows in each of
// its statuses. Texts are language keys.
#include <cstdint>
#include <span>

namespace qxr::update {

inline constexpr int kRowStateCount = 9;  // states 0..8
inline constexpr uint32_t kLessUpdateColour = 0xFF666666;
inline constexpr uint32_t kGreyTextColour = 0xFF9B9DA8;

struct RowStateRow {
  int state;
  const char* text_key;
  bool progress;    // "update_status_ing" with the percentage
  bool action;      // the row may be selected for updating
  bool done_mark;   // "update_status_ok"
  uint32_t colour;  // of the state text, 0xAARRGGBB; 0: the skin's own
};

std::span<const RowStateRow> update_row_states();
// The row of state, or nullptr for a state outside 0..8.
const RowStateRow* update_row_state(int state);

enum class PageStatus {
  Checking = 0,
  HaveUpdate = 1,
  NoUpdateInfo = 2,  // every check failed
  Updating = 3,
  UpToDate = 4,      // the text is a format for the date of the last check ("%s")
  ChecksOff = 5,     // no update server is configured: nothing is asked
};

struct PageStatusRow {
  PageStatus status;
  const char* text_key;
  bool ring;   // "update_status_ring"
  bool image;  // "update_status_image"
};

std::span<const PageStatusRow> page_statuses();
const PageStatusRow& page_status_row(PageStatus status);

// Where the date goes in the up-to-date text.
inline constexpr char kDatePlaceholder[] = "%s";

}  // namespace qxr::update
