#include "update/update_states.h"

namespace qxr::update {
namespace {

constexpr RowStateRow kRowStates[kRowStateCount] = {
    {0, "LessUpdateText", false, false, false, kLessUpdateColour},
    {1, "NeedUpdateText", false, true, false, 0},
    {2, "NeedUpdateText", false, true, false, 0},
    {3, "DownloadWaitText", false, false, false, 0},
    {4, "DownloadIngText", true, false, false, 0},
    {5, "DownloadOkText", false, false, true, 0},
    {6, "UpdateIngText", true, false, false, 0},
    {7, "UpdateOkText", false, false, false, kGreyTextColour},
    {8, "UpdateFailText", false, true, false, 0},
};

constexpr PageStatusRow kPageStatuses[] = {
    {PageStatus::Checking, "GetUpdateInfoText", true, false},
    {PageStatus::HaveUpdate, "HaveUpdateInfoText", false, true},
    {PageStatus::NoUpdateInfo, "NoUpdateInfoText", false, true},
    {PageStatus::Updating, "ISUpdateINGText", false, true},
    {PageStatus::UpToDate, "UpdateIsLastText", false, true},
    {PageStatus::ChecksOff, "UpdateOffText", false, false},
};

}  // namespace

std::span<const RowStateRow> update_row_states() { return kRowStates; }

const RowStateRow* update_row_state(int state) {
  if (state < 0 || state >= kRowStateCount) return nullptr;
  return &kRowStates[state];
}

std::span<const PageStatusRow> page_statuses() { return kPageStatuses; }

const PageStatusRow& page_status_row(PageStatus status) {
  for (const PageStatusRow& row : kPageStatuses) {
    if (row.status == status) return row;
  }
  return kPageStatuses[0];
}

}  // namespace qxr::update
