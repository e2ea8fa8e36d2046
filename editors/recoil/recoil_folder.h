#pragma once
// The mouse's four recoil scripts in its device folder ("ShootData_<gun>.Shoot"), with the
// factory scripts of the same names in the default data beside them. Every write is atomic; a
// script that cannot be read is moved aside, never overwritten, and the factory script takes its
// place. Imports are checked before anything is replaced. UI thread; the mouse reads the same
// files on its own thread and only ever sees whole files.
#include <string>
#include <vector>

#include "profile/macro_files.h"

namespace qxr::editors::recoil {

inline constexpr int kGunCount = static_cast<int>(kRecoilScriptCount);
inline constexpr int kBulletCount = static_cast<int>(kRecoilBulletCount);
// A pull travels to the mouse as one byte, the wait as two.
inline constexpr int kMaxPull = 0xFF;
inline constexpr int kMaxBulletDelayMs = static_cast<int>(kMaxMacroDelayMs);

// Gun and bullet indices outside the grid select its nearest end.
int clamp_gun(int gun);
int clamp_bullet(int bullet);

// Why a change was refused.
enum class RecoilChange { kDone, kWriteFailed, kBadImport, kNoFactoryScript, kNothingToExport };

class RecoilFolder {
 public:
  // Both folders end with a separator.
  RecoilFolder(std::string folder = {}, std::string factory_folder = {});
  void set_folder(std::string folder) { folder_ = std::move(folder); }
  void set_factory_folder(std::string folder) { factory_folder_ = std::move(folder); }
  const std::string& folder() const { return folder_; }

  std::string script_path(int gun) const;
  std::string factory_path(int gun) const;

  // Every gun has a script it can read: a missing one, or one that cannot be read (moved aside
  // first), becomes a copy of the factory script.
  void ensure_scripts();

  std::vector<RecoilBullet> bullets(int gun) const;
  RecoilChange store(int gun, int bullet, const RecoilBullet& value);
  // The factory script over the gun's; refused when the factory script is missing or broken.
  RecoilChange reset(int gun);
  // A ".shoot" file, checked first; what was checked is what is stored. check gets the verdict.
  RecoilChange import(int gun, const std::string& path, MacroImportCheck* check = nullptr);
  // The gun's script as it is stored.
  RecoilChange export_to(int gun, const std::string& path) const;

 private:
  std::string folder_;
  std::string factory_folder_;
};

}  // namespace qxr::editors::recoil
