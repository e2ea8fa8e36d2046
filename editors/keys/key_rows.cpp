#include "editors/keys/key_rows.h"

#include "editors/keys/key_control_names.h"

namespace qxr::editors::keys {
namespace {

using enum KeyAction;
constexpr ui::Match X = ui::Match::Exact;

constexpr KeyNotificationRow kRows[] = {
    {"itemselect", names::kFunctionCombo, X, SelectGroup},
    {"itemselect", names::kMacroModeCombo, X, MacroMode},
    {"itemselect", names::kMouseKeyCombo, X, Apply},
    {"itemselect", names::kSwingCombo, X, Apply},
    {"itemselect", names::kWheelCombo, X, Apply},
    {"itemselect", names::kDpiCombo, X, Apply},
    {"itemselect", names::kMediaCombo, X, Apply},
    {"itemselect", names::kSystemCombo, X, Apply},
    {"itemselect", names::kMacroCombo, X, Apply},
    {"itemselect", names::kGunCombo, X, Apply},
    {"itemselect", names::kComboKeyCombo, X, Apply},
    {"killfocus", names::kSwingCountEdit, X, Apply},
    {"killfocus", names::kSwingDelayEdit, X, Apply},
    {"killfocus", names::kSwingSpeedEdit, X, Apply},
    {"killfocus", names::kWheelCountEdit, X, Apply},
    {"killfocus", names::kWheelDelayEdit, X, Apply},
    {"killfocus", names::kWheelSpeedEdit, X, Apply},
    {"killfocus", names::kFireIntervalEdit, X, Apply},
    {"killfocus", names::kFireCountEdit, X, Apply},
    {"killfocus", names::kMacroRepeatEdit, X, Apply},
    {"click", names::kSaveButton, X, Apply},
    {"click", names::kDefaultButton, X, ShowDefault},
    {"click", names::kCancelButton, X, Cancel},
    {"click", names::kProfileSaveButton, X, WriteProfile},
};

}  // namespace

std::span<const KeyNotificationRow> key_notification_table() { return kRows; }

std::optional<KeyAction> find_key_action(std::string_view type, std::string_view sender_name) {
  const KeyNotificationRow* row = ui::find_row<KeyNotificationRow>(kRows, type, sender_name);
  return row ? std::optional(row->action) : std::nullopt;
}

}  // namespace qxr::editors::keys
