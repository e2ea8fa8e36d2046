// The macro panel in the whole program, on the emulated keyboard and mouse: a macro recorded
// from keys typed into the window, the image that reaches the keyboard, a macro too large for
// it, keys that keep their macros when the list changes, and macro files in and out.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QWindow>

#include "app/pages/device_page_widget.h"
#include "app/window/key_panels.h"
#include "app/window/macro_panels.h"
#include "core/clock.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/mouse/mouse_device.h"
#include "editors/macros/macro_control_names.h"
#include "editors/macros/macro_tables.h"
#include "emulator/firmware_layout.h"
#include "profile/json_file.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"
#include "tests/support/temp_folder.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/select_panel.h"
#include "ui/notification.h"

namespace qxr::app {
namespace {

namespace n = editors::macros::names;
using editors::macros::kEventKey;
using editors::macros::kEventModifier;
using editors::macros::kEventMouseButton;
using emu::DeviceType;
using qxr::testing::qt::spin;
using qxr::testing::qt::wait_until;
using testing::kKeyboardRow;
using testing::kMouseRow;

constexpr int kCapsLock = 63;
constexpr int kTab = 42;  // another logical key of the keyboard

MacroEvent ev(uint8_t type, bool down, uint8_t button, uint16_t delay) { return {delay, type, down, button}; }

class MacroPanelTest : public testing::EmulatedWindowTest {
 protected:
  void start_with(DeviceType type, size_t row) {
    type_ = type;
    row_ = row;
    start({type});
    install_key_editor(*window_);
    install_macro_editor(*window_);
    ASSERT_TRUE(wait_connected(row));
    ASSERT_TRUE(wait_until([&] { return emu_->exchanges(type, protocol::CMD_READ_INFO) > 0; }));
    settle();
    page(row)->show_option_page(2);
    ASSERT_NE(panel(), nullptr);
    panel()->set_clock(clock_);
  }
  CMacroControlUI* panel() { return page(row_)->macro_bridge()->panel(); }
  template <typename T>
  T* control(std::string_view name) {
    return panel()->control<T>(name);
  }
  void click(std::string_view name) { control<QAbstractButton>(name)->click(); }
  void settle() {
    page(row_)->device()->drain();
    spin(20);
    page(row_)->device()->drain();
  }
  // A key as the window system delivers it: to the window, with the key's native code.
  void key(uint32_t input_code, bool down, uint64_t after_ms = 0) {
    clock_.advance(after_ms);
    QKeyEvent e(down ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, input_code + 8, 0, 0);
    QApplication::sendEvent(window_->windowHandle(), &e);
  }
  void mouse(Qt::MouseButton button, bool down, uint64_t after_ms = 0) {
    clock_.advance(after_ms);
    const QPointF at(5, 5);
    QMouseEvent e(down ? QEvent::MouseButtonPress : QEvent::MouseButtonRelease, at, window_->mapToGlobal(at),
                  button, down ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window_->windowHandle(), &e);
  }
  std::vector<MacroEvent> stored(size_t macro) {
    return ReadMacroEvents(panel()->folder().file_of(macro));
  }
  void add_macro_with(const std::vector<MacroEvent>& events) {
    click(n::kAddButton);
    panel()->events().assign(events);
    panel()->RowsChanged();
    click(n::kSaveButton);
  }
  devices::KeyAssignments& keys() { return *page(row_)->device()->key_assignments(); }
  void assign(int key, uint8_t type, uint8_t d1) {
    keys().select_key(key);
    keys().assign_selected_key(type, d1, 0);
    settle();
  }
  KeyAssignment in_profile(int key) {
    const Json::Value list = ReadJsonFile(page(row_)->device()->profile_path())["Device"][0]["KeyList"];
    return KeyAssignment::FromCode(static_cast<uint16_t>(key), list[key]["Assignment"].asInt());
  }
  std::array<uint8_t, 3> on_device(size_t position) {
    const std::vector<uint8_t> table = emu_->memory(type_, emu::Memory::kKeys);
    return {table.at(position * 3), table.at(position * 3 + 1), table.at(position * 3 + 2)};
  }
  size_t position_of(int key) {
    if (type_ == DeviceType::Keyboard) {
      return static_cast<devices::CMarluneKeyboardDevice*>(page(row_)->device())->key_maps().position[key];
    }
    return static_cast<devices::CMarluneMouseDevice*>(page(row_)->device())->position_map()[key];
  }

  DeviceType type_ = DeviceType::Keyboard;
  size_t row_ = 0;
  ManualClock clock_{1000};
};

TEST_F(MacroPanelTest, KeysTypedIntoTheWindowAreRecordedWithTheClocksPauses) {
  start_with(DeviceType::Keyboard, kKeyboardRow);
  EXPECT_FALSE(page(kKeyboardRow)->key_panel()->isVisible());  // the panel has the picture's room
  click(n::kAddButton);
  ASSERT_EQ(panel()->selected_macro(), 0u);
  EXPECT_EQ(control<QListWidget>(n::kNameList)->item(0)->text(), QStringLiteral("macro_1"));
  QWidget* devices = window_->control(QStringLiteral("device_select_layout"));

  click(n::kStartButton);
  ASSERT_TRUE(panel()->recording());
  EXPECT_FALSE(devices->isEnabled());
  EXPECT_FALSE(control<QWidget>(n::kStartButton)->isVisible());
  key(28, true, 250);   // Enter
  key(28, true, 30);    // auto-repeat
  key(28, false, 70);
  key(1, true, 200);    // Esc
  key(1, false, 40);
  key(42, true, 300);   // left Shift
  key(30, true, 20);    // A
  key(30, false, 60);
  // Focus elsewhere: nothing typed there is recorded, and the time away is no pause.
  emit qApp->applicationStateChanged(Qt::ApplicationInactive);
  key(16, true, 500);   // Q, in another window
  key(16, false, 50);
  emit qApp->applicationStateChanged(Qt::ApplicationActive);
  key(42, false, 80);
  mouse(Qt::RightButton, true, 10);
  mouse(Qt::RightButton, false, 90);
  click(n::kStopButton);
  EXPECT_FALSE(panel()->recording());
  EXPECT_TRUE(devices->isEnabled());

  const std::vector<MacroEvent> want = {
      ev(kEventKey, true, 0x28, 100),     ev(kEventKey, false, 0x28, 200), ev(kEventKey, true, 0x29, 40),
      ev(kEventKey, false, 0x29, 300),    ev(kEventModifier, true, 0x02, 20), ev(kEventKey, true, 0x04, 60),
      ev(kEventKey, false, 0x04, 80),     ev(kEventModifier, false, 0x02, 10), ev(kEventMouseButton, true, 0x02, 90),
      ev(kEventMouseButton, false, 0x02, 0),
  };
  EXPECT_EQ(panel()->events().rows(), want);
  EXPECT_EQ(stored(0), want);  // saved when recording stopped
  EXPECT_EQ(control<QTableView>(n::kEventList)->model()->rowCount(), static_cast<int>(want.size()));
}

TEST_F(MacroPanelTest, TheKeyboardGetsTheMacroImageOfAKeysMacroByteForByte) {
  start_with(DeviceType::Keyboard, kKeyboardRow);
  click(n::kAddButton);
  assign(kCapsLock, 0x70, 0);
  const uint32_t uploads = emu_->exchanges(DeviceType::Keyboard, protocol::CMD_WRITE_MACROS);

  control<QLineEdit>(n::kFixedDelayEdit)->setText(QStringLiteral("50"));
  click(n::kStartButton);
  key(30, true, 10);
  key(30, false, 100);
  click(n::kStopButton);
  ui::send_menu_notify(control<QTableView>(n::kEventList), QStringLiteral("left_click"));
  control<QLineEdit>(n::kMoveLeftEdit)->setText(QStringLiteral("10"));
  click(n::kMoveLeftButton);
  settle();
  ASSERT_TRUE(wait_until([&] { return emu_->exchanges(DeviceType::Keyboard, protocol::CMD_WRITE_MACROS) > uploads; }));
  settle();

  const std::vector<uint8_t> want = {
      0xAA, 0x55, 42, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // header: length 42, one macro
      18, 0,                                                   // where the macro starts
      5, 0, 0, 0,                                              // five events
      100, 0, 0x8A, 0x04,                                      // A pressed, 100 ms
      0, 0, 0x0A, 0x04,                                        // A released
      50, 0, 0x81, 0x01,                                       // left pressed, the fixed delay
      50, 0, 0x01, 0x01,                                       // left released
      50, 0, 0x84, 10,                                         // 10 to the left
  };
  const std::vector<uint8_t> memory = emu_->memory(DeviceType::Keyboard, emu::Memory::kMacros);
  ASSERT_GE(memory.size(), want.size());
  EXPECT_EQ(std::vector<uint8_t>(memory.begin(), memory.begin() + static_cast<long>(want.size())), want);
  EXPECT_EQ(emu_->macro_image(DeviceType::Keyboard).state, emu::ImageState::kValid);
  EXPECT_TRUE(prompts_.informed.isEmpty()) << prompts_.informed.join(QLatin1Char(',')).toStdString();
}

TEST_F(MacroPanelTest, AMacroTooLargeForTheKeyboardIsReportedAndNothingIsSent) {
  start_with(DeviceType::Keyboard, kKeyboardRow);
  assign(kCapsLock, 0x70, 0);
  const uint32_t uploads = emu_->exchanges(DeviceType::Keyboard, protocol::CMD_WRITE_MACROS);
  // 1100 events need 4422 bytes; the keyboard has 4096.
  add_macro_with(std::vector<MacroEvent>(1100, ev(kEventKey, true, 0x04, 1)));
  ASSERT_TRUE(wait_until([&] {
    spin(5);
    return !prompts_.informed.isEmpty();
  }));
  settle();
  EXPECT_EQ(prompts_.informed.size(), 1);
  EXPECT_FALSE(prompts_.informed.value(0).contains(QStringLiteral("%d")));
  EXPECT_EQ(emu_->exchanges(DeviceType::Keyboard, protocol::CMD_WRITE_MACROS), uploads);
  EXPECT_NE(emu_->macro_image(DeviceType::Keyboard).state, emu::ImageState::kValid);
  EXPECT_EQ(stored(0).size(), 1100u);  // the macro itself is kept
}

class MacroKeysTest : public MacroPanelTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MacroKeysTest, RenamingAndDeletingKeepEveryKeyOnItsMacro) {
  const bool keyboard = GetParam();
  keyboard ? start_with(DeviceType::Keyboard, kKeyboardRow) : start_with(DeviceType::Mouse, kMouseRow);
  const int first = keyboard ? kTab : 2, second = keyboard ? kCapsLock : 3;
  add_macro_with({ev(kEventKey, true, 4, 0)});
  add_macro_with({ev(kEventKey, true, 5, 0), ev(kEventKey, false, 5, 0)});
  add_macro_with({ev(kEventKey, true, 6, 0), ev(kEventKey, false, 6, 0), ev(kEventKey, true, 7, 0)});
  assign(first, 0x70, 1);
  assign(second, 0x71, 2);

  panel()->SelectMacro(2);
  control<QLineEdit>(n::kNameEdit)->setText(QStringLiteral("Burst"));
  click(n::kRenameButton);
  settle();
  EXPECT_EQ(page(row_)->device()->macro_list()->macro_names(), (std::vector<std::string>{"macro_1", "macro_2", "Burst"}));
  auto* key_panel_macros = page(row_)->key_bridge()->panel()->control<QComboBox>("keyset_macro_combo");
  EXPECT_EQ(key_panel_macros->itemText(2), QStringLiteral("Burst"));
  const QString label = keyboard ? page(row_)->key_button(second)->text() : page(row_)->key_button(second)->toolTip();
  EXPECT_TRUE(label.contains(QStringLiteral("Burst"))) << label.toStdString();

  // A macro no key plays: only the first question.
  panel()->SelectMacro(0);
  const uint32_t writes = emu_->exchanges(type_, protocol::CMD_WRITE_KEYS);
  click(n::kDeleteButton);
  EXPECT_EQ(prompts_.confirmed, QStringList{QStringLiteral("message_text_4")});
  ASSERT_TRUE(wait_until([&] { return emu_->exchanges(type_, protocol::CMD_WRITE_KEYS) > writes; }));
  settle();
  EXPECT_EQ(in_profile(first), (KeyAssignment{uint16_t(first), 0x70, 0, 0}));
  EXPECT_EQ(in_profile(second), (KeyAssignment{uint16_t(second), 0x71, 1, 0}));
  EXPECT_EQ(on_device(position_of(first)), (std::array<uint8_t, 3>{0x70, 0, 0}));
  EXPECT_EQ(on_device(position_of(second)), (std::array<uint8_t, 3>{0x71, 1, 0}));
  if (keyboard) {
    // The slots hold the macros the keys now name.
    const emu::ImageInfo image = emu_->macro_image(DeviceType::Keyboard);
    ASSERT_EQ(image.state, emu::ImageState::kValid);
    ASSERT_EQ(image.records.size(), 2u);
    EXPECT_EQ(image.records[0].event_count, 2u);
    EXPECT_EQ(image.records[1].event_count, 3u);
  }
  EXPECT_EQ(key_panel_macros->count(), 2);

  // The macro a key plays: asked again, and the key takes its default.
  prompts_.confirmed.clear();
  panel()->SelectMacro(1);
  click(n::kDeleteButton);
  EXPECT_EQ(prompts_.confirmed, (QStringList{QStringLiteral("message_text_4"), QStringLiteral("message_text_2")}));
  settle();
  const std::vector<KeyAssignRecord> list = keys().key_list();
  EXPECT_EQ(list[static_cast<size_t>(second)].assignment, list[static_cast<size_t>(second)].default_assignment);
  EXPECT_EQ(in_profile(first), (KeyAssignment{uint16_t(first), 0x70, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(KeyboardAndMouse, MacroKeysTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Keyboard" : "Mouse"; });

TEST_F(MacroPanelTest, MacroFilesGoOutAndComeBackAndForeignFilesAreRefused) {
  start_with(DeviceType::Mouse, kMouseRow);
  const std::vector<MacroEvent> events = {ev(kEventModifier, true, 0x01, 25), ev(4, false, 30, 0)};
  add_macro_with(events);
  qxr::testing::TempFolder outside;
  prompts_.save_path = QString::fromStdString(outside.file("burst.mac"));
  click(n::kExportButton);
  EXPECT_EQ(prompts_.filters.value(0), QStringLiteral("Macro Files(*.mac)"));

  // The list file, offered as a macro, is not one.
  prompts_.open_path = QString::fromStdString(panel()->folder().folder() + "macro.config");
  click(n::kImportButton);
  EXPECT_EQ(prompts_.informed, QStringList{QStringLiteral("macro_import_refused_text")});
  EXPECT_EQ(panel()->folder().size(), 1u);

  prompts_.open_path = prompts_.save_path;
  click(n::kImportButton);
  ASSERT_EQ(panel()->folder().size(), 2u);
  EXPECT_EQ(panel()->selected_macro(), 1u);
  EXPECT_EQ(panel()->events().rows(), events);
  settle();
  EXPECT_EQ(page(row_)->device()->macro_list()->macro_names(), (std::vector<std::string>{"macro_1", "macro_2"}));
}

}  // namespace
}  // namespace qxr::app
