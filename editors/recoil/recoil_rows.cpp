#include "editors/recoil/recoil_rows.h"

#include "editors/recoil/recoil_control_names.h"

namespace qxr::editors::recoil {
namespace {

using enum RecoilAction;
constexpr ui::Match X = ui::Match::Exact;
constexpr ui::Match N = ui::Match::Indexed;

constexpr RecoilNotificationRow kRows[] = {
    {"click", names::kSaveButton, X, Send},
    {"click", names::kResetButton, X, Reset},
    {"click", names::kImportButton, X, Import},
    {"click", names::kExportButton, X, Export},
    {"click", names::kPreviousBullet, X, PreviousBullet},
    {"click", names::kNextBullet, X, NextBullet},
    {"selectchanged", names::kGunOption, N, SelectGun},
    {"selectchanged", names::kBulletOption, N, SelectBullet},
    {"selectchanged", names::kHorizontalOption, X, HorizontalDirection},
    {"selectchanged", names::kVerticalOption, X, VerticalDirection},
    {"killfocus", names::kHorizontalEdit, X, StoreBullet},
    {"killfocus", names::kVerticalEdit, X, StoreBullet},
    {"killfocus", names::kDelayEdit, X, StoreBullet},
};

}  // namespace

std::span<const RecoilNotificationRow> recoil_notification_table() { return kRows; }

const RecoilNotificationRow* find_recoil_row(std::string_view type, std::string_view sender_name) {
  return ui::find_row<RecoilNotificationRow>(kRows, type, sender_name);
}

}  // namespace qxr::editors::recoil
