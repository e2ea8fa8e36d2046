#pragma once
// What each notification of the recoil panel does, as data; the main window routes these rows
// to the panel of the selected page.
#include <span>
#include <string_view>

#include "ui/route_rows.h"

namespace qxr::editors::recoil {

enum class RecoilAction {
  SelectGun,            // a gun option became selected
  SelectBullet,         // a bullet option became selected
  PreviousBullet,
  NextBullet,
  StoreBullet,          // an edit of the bullet was left
  HorizontalDirection,  // a direction option changed
  VerticalDirection,
  Send,                 // the four scripts to the mouse
  Reset,                // the current gun back to its factory script
  Import,               // a ".shoot" file becomes the current gun's script
  Export,               // the current gun's script to a ".shoot" file
};

struct RecoilNotificationRow {
  std::string_view type;
  std::string_view name;  // for Indexed: the prefix before the decimal index
  ui::Match match;
  RecoilAction action;
};

std::span<const RecoilNotificationRow> recoil_notification_table();
const RecoilNotificationRow* find_recoil_row(std::string_view type, std::string_view sender_name);

}  // namespace qxr::editors::recoil
