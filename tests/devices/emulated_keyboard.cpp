#include "tests/devices/emulated_keyboard.h"

#include <stdlib.h>

#include "profile/data_paths.h"
#include "profile/json_file.h"

namespace qxr::devices::testing {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "qxr-devices-XXXXXX").string();
  char* made = mkdtemp(pattern.data());
  path_ = made ? std::string(made) : std::string();
}

TempFolder::~TempFolder() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

void ObservedKeyboard::StartReactive(size_t logical_key, int state) {
  {
    std::lock_guard lock(mutex_);
    reactions_.push_back({logical_key, state});
  }
  CMarluneKeyboardDevice::StartReactive(logical_key, state);
}

std::vector<ObservedKeyboard::Reaction> ObservedKeyboard::reactions() const {
  std::lock_guard lock(mutex_);
  return reactions_;
}

void EmulatedKeyboardTest::SetUp() {
  ASSERT_FALSE(folder_.path().empty());
  SetUserDataRoot(folder_.path() + "/user/");
  emu_ = std::make_unique<emu::Emulator>(folder_.path() + "/emu");
  ASSERT_TRUE(emu_->start({emu::DeviceType::Keyboard}));
  kb_ = std::make_unique<ObservedKeyboard>(page_);
  kb_->set_profile_id("2024_01_02_03_04_05_006");
}

void EmulatedKeyboardTest::TearDown() {
  kb_.reset();
  emu_.reset();
  SetUserDataRoot("");
}

int EmulatedKeyboardTest::connect() {
  if (!kb_->open_primary(emu_->hid_path(emu::DeviceType::Keyboard, kVendorCollection), false)) return -1000;
  return kb_->connect_now();
}

std::string EmulatedKeyboardTest::user_folder() const { return kb_->user_data_folder(); }

void EmulatedKeyboardTest::write_macros(const std::vector<size_t>& event_counts) {
  Json::Value config;
  config["MacroInfo"] = Json::Value(Json::arrayValue);
  for (size_t i = 0; i < event_counts.size(); ++i) {
    std::string guid = "macro_" + std::to_string(i);
    Json::Value entry;
    entry["MacroName"] = "M" + std::to_string(i);
    entry["Guid"] = guid;
    config["MacroInfo"].append(entry);
    Json::Value file;
    file["MacroName"] = entry["MacroName"];
    file["Guid"] = guid;
    file["Version"] = 64;
    file["Events"] = Json::Value(Json::arrayValue);
    for (size_t e = 0; e < event_counts[i]; ++e) {
      Json::Value ev;
      ev["Action"] = e % 2 == 0 ? "down" : "up";
      ev["Button"] = static_cast<int>(4 + i);
      ev["Type"] = 10;
      ev["Delay"] = std::to_string(10 * (e + 1));
      file["Events"].append(ev);
    }
    ASSERT_TRUE(WriteJsonFile(user_folder() + guid + ".mac", file));
  }
  ASSERT_TRUE(WriteJsonFile(user_folder() + "macro.config", config));
}

}  // namespace qxr::devices::testing
