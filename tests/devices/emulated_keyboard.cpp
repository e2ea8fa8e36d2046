#include "tests/devices/emulated_keyboard.h"

#include "profile/json_file.h"

namespace qxr::devices::testing {

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
  ASSERT_TRUE(start({emu::DeviceType::Keyboard}));
  make(system_clock());
}

void EmulatedKeyboardTest::make(Clock& clock) {
  kb_ = std::make_unique<ObservedKeyboard>(page_, clock);
  kb_->set_profile_id("2024_01_02_03_04_05_006");
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
