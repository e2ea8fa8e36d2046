#include "ui/text_keys.h"

namespace qxr::ui {
namespace {

constexpr const char* kCodeTextKeys[] = {
    // About window and the settings window's version.
    "software_rev_text",
    // Settings window: the update rows' states and the update page's statuses.
    "LessUpdateText",
    "NeedUpdateText",
    "DownloadWaitText",
    "DownloadIngText",
    "DownloadOkText",
    "UpdateIngText",
    "UpdateOkText",
    "UpdateFailText",
    "GetUpdateInfoText",
    "HaveUpdateInfoText",
    "NoUpdateInfoText",
    "ISUpdateINGText",
    "UpdateIsLastText",
    "UpdateOffText",
    // Message box texts of the pages and editors.
    "message_text_2",   // a macro still on a key: delete anyway?
    "message_text_4",   // delete the selected macro?
    "message_text_5",   // name already in use
    "message_text_6",   // the last left button cannot be reassigned
    "message_text_7",   // device operation failed
    "message_text_16",  // device error with its code
    "message_text_22",  // reset the profile?
    "message_text_25",  // name is blank
};

}  // namespace

std::span<const char* const> code_text_keys() { return kCodeTextKeys; }

}  // namespace qxr::ui
