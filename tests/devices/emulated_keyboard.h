#pragma once
// A keyboard device object connected to the emulated keyboard, in a private folder with its
// own user data root.
#include <json/value.h>

#include <memory>
#include <string>
#include <vector>

#include "core/clock.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/testing/recording_page.h"
#include "emulator/emulator.h"
#include "tests/support/emulator_test.h"

namespace qxr::devices::testing {

// Keeps the reactive calls the sync thread makes.
class ObservedKeyboard : public CMarluneKeyboardDevice {
 public:
  using CMarluneKeyboardDevice::CMarluneKeyboardDevice;
  ~ObservedKeyboard() override { stop_device_threads(); }
  // Its light thread sends every frame it makes: a test that counts frames stops it first.
  using CMarluneKeyboardDevice::stop_light_thread;
  struct Reaction {
    size_t key;
    int state;
  };
  void StartReactive(size_t logical_key, int state) override;
  std::vector<Reaction> reactions() const;

 private:
  mutable std::mutex mutex_;
  std::vector<Reaction> reactions_;
};

class EmulatedKeyboardTest : public qxr::testing::EmulatorTest {
 protected:
  static constexpr int kVendorCollection = 4;
  static constexpr int kConsumerCollection = 3;

  void SetUp() override;
  // A new keyboard; on clock_ its light thread steps only when the test says.
  void make(Clock& clock);

  // The keyboard's primary path, opened and connected (connect_now's result).
  int connect();
  std::vector<uint8_t> memory(emu::Memory m) const { return emu_->memory(emu::DeviceType::Keyboard, m); }
  // Writes "macro.config" with the names and one ".mac" file per entry with that many events.
  void write_macros(const std::vector<size_t>& event_counts);
  std::string user_folder() const;

  RecordingPage page_;
  ManualClock clock_{10'000};  // outlives the keyboard's threads
  std::unique_ptr<ObservedKeyboard> kb_;
};

}  // namespace qxr::devices::testing
