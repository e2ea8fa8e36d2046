#include "editors/recoil/recoil_folder.h"

#include <algorithm>

#include "core/atomic_file.h"
#include "core/debug_line.h"
#include "profile/json_file.h"

namespace qxr::editors::recoil {

int clamp_gun(int gun) { return std::clamp(gun, 0, kGunCount - 1); }
int clamp_bullet(int bullet) { return std::clamp(bullet, 0, kBulletCount - 1); }

RecoilFolder::RecoilFolder(std::string folder, std::string factory_folder)
    : folder_(std::move(folder)), factory_folder_(std::move(factory_folder)) {}

std::string RecoilFolder::script_path(int gun) const {
  return RecoilScriptPath(folder_, static_cast<size_t>(clamp_gun(gun)));
}

std::string RecoilFolder::factory_path(int gun) const {
  return RecoilScriptPath(factory_folder_, static_cast<size_t>(clamp_gun(gun)));
}

void RecoilFolder::ensure_scripts() {
  for (int gun = 0; gun < kGunCount; ++gun) {
    const JsonFileState state = InspectJsonFile(script_path(gun)).state;
    if (state == JsonFileState::kReadable) continue;
    // Not a file we could move (a folder in its place): leave it, the script reads as zeros.
    if (state == JsonFileState::kUnreadable && SetAsideFile(script_path(gun)).empty()) continue;
    if (reset(gun) != RecoilChange::kDone) debug_fmt("recoil script {}: no factory script", gun);
  }
}

std::vector<RecoilBullet> RecoilFolder::bullets(int gun) const { return ReadRecoilBullets(script_path(gun)); }

RecoilChange RecoilFolder::store(int gun, int bullet, const RecoilBullet& value) {
  return WriteRecoilBullet(script_path(gun), factory_path(gun), static_cast<size_t>(clamp_bullet(bullet)), value)
             ? RecoilChange::kDone
             : RecoilChange::kWriteFailed;
}

RecoilChange RecoilFolder::reset(int gun) {
  const std::string factory = ReadFileText(factory_path(gun));
  if (CheckRecoilImportText(factory).check != MacroImportCheck::kOk) return RecoilChange::kNoFactoryScript;
  return write_file_atomic(script_path(gun), factory) ? RecoilChange::kDone : RecoilChange::kWriteFailed;
}

RecoilChange RecoilFolder::import(int gun, const std::string& path, MacroImportCheck* check) {
  const std::string bytes = path.empty() ? std::string() : ReadFileText(path);
  const MacroImportCheck verdict = CheckRecoilImportText(bytes).check;
  if (check != nullptr) *check = verdict;
  if (verdict != MacroImportCheck::kOk) return RecoilChange::kBadImport;
  return write_file_atomic(script_path(gun), bytes) ? RecoilChange::kDone : RecoilChange::kWriteFailed;
}

RecoilChange RecoilFolder::export_to(int gun, const std::string& path) const {
  const std::string bytes = ReadFileText(script_path(gun));
  if (bytes.empty()) return RecoilChange::kNothingToExport;
  if (path.empty()) return RecoilChange::kWriteFailed;
  return write_file_atomic(path, bytes) ? RecoilChange::kDone : RecoilChange::kWriteFailed;
}

}  // namespace qxr::editors::recoil
