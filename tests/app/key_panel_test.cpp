// The key-assignment panel in the whole program, driven as a user drives it: a key clicked on
// the picture, a function chosen or a key pressed, and what reaches the emulated device's key
// table (at the key's own position), the profile file and the key's label.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTest>

#include "app/pages/device_page_widget.h"
#include "app/window/key_panels.h"
#include "devices/keyboard/keyboard_device.h"
#include "devices/mouse/mouse_device.h"
#include "editors/keys/key_control_names.h"
#include "emulator/firmware_layout.h"
#include "profile/json_file.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"
#include "ui/controls/device_key_button.h"
#include "ui/language.h"
#include "ui/notify_wiring.h"

namespace qxr::app {
namespace {

namespace n = editors::keys::names;
using emu::DeviceType;
using testing::kKeyboardRow;
using testing::kMouseRow;
using qxr::testing::qt::spin;
using qxr::testing::qt::wait_until;

constexpr int kCapsLock = 63;  // the logical key of Caps Lock

struct Code {
  uint8_t type, d1, d2;
  bool operator==(const Code&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Code& c) {
  return os << std::hex << int(c.type) << "/" << int(c.d1) << "/" << int(c.d2);
}

class KeyPanelTest : public testing::EmulatedWindowTest {
 protected:
  void start_with(DeviceType type, size_t row) {
    start({type});
    install_key_editor(*window_);
    ASSERT_TRUE(wait_connected(row));
    // Connected: the tables were read and the profile shown.
    ASSERT_TRUE(wait_until([&] { return emu_->exchanges(type, protocol::CMD_READ_INFO) > 0; }));
    page(row)->device()->drain();
    spin(20);
    page(row)->show_option_page(1);
  }
  CKeySetControlUI* panel(size_t row) { return page(row)->key_bridge()->panel(); }
  template <typename T>
  T* control(size_t row, std::string_view name) {
    return panel(row)->control<T>(name);
  }
  void click_key(size_t row, int key) {
    QTest::mouseClick(page(row)->key_button(key), Qt::LeftButton);
  }
  void click(size_t row, std::string_view name) { control<QAbstractButton>(row, name)->click(); }
  // A user's choice: the combo notifies as it does for the mouse.
  void choose(size_t row, std::string_view combo, int item) { ui::select_item(control<QComboBox>(row, combo), item, true); }
  void choose_group(size_t row, int group) {
    auto* functions = control<QComboBox>(row, n::kFunctionCombo);
    ui::select_item(functions, functions->findData(group), true);
  }
  void settle(size_t row) {
    page(row)->device()->drain();
    spin(20);
  }
  // The code at the device's key-table position of key.
  Code code_on_device(DeviceType type, size_t position) {
    const std::vector<uint8_t> table = emu_->memory(type, emu::Memory::kKeys);
    const size_t at = position * 3;
    return at + 2 < table.size() ? Code{table[at], table[at + 1], table[at + 2]} : Code{0xEE, 0xEE, 0xEE};
  }
  // What the profile file holds for key.
  Code code_in_profile(size_t row, int key) {
    const Json::Value list = ReadJsonFile(page(row)->device()->profile_path())["Device"][0]["KeyList"];
    const int stored = list[key]["Assignment"].asInt();
    return {uint8_t(stored >> 16), uint8_t(stored >> 8), uint8_t(stored)};
  }
  static QString text(const char* key) { return ui::Language::instance().text(QString::fromLatin1(key)); }
  devices::CMarluneKeyboardDevice* keyboard() {
    return static_cast<devices::CMarluneKeyboardDevice*>(page(kKeyboardRow)->device());
  }
  void press(QWidget* target, uint32_t input_code, Qt::Key key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, input_code + 8, 0, 0);
    QApplication::sendEvent(target, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, input_code + 8, 0, 0);
    QApplication::sendEvent(target, &up);
  }
};

TEST_F(KeyPanelTest, AFunctionChosenReachesTheKeysOwnPositionTheProfileAndTheLabel) {
  start_with(DeviceType::Keyboard, kKeyboardRow);
  const size_t position = keyboard()->key_maps().position[kCapsLock];
  ASSERT_NE(position, static_cast<size_t>(kCapsLock));  // positions are not logical numbers
  const Code caps = code_on_device(DeviceType::Keyboard, position);
  click_key(kKeyboardRow, kCapsLock);
  EXPECT_EQ(panel(kKeyboardRow)->selected_group(), editors::keys::kGroupDefault);

  choose_group(kKeyboardRow, editors::keys::kGroupMedia);
  choose(kKeyboardRow, n::kMediaCombo, 1);  // play/pause
  settle(kKeyboardRow);
  EXPECT_EQ(code_on_device(DeviceType::Keyboard, position), (Code{0x30, 0xCD, 0x00}));
  EXPECT_EQ(code_in_profile(kKeyboardRow, kCapsLock), (Code{0x30, 0xCD, 0x00}));
  EXPECT_EQ(page(kKeyboardRow)->key_button(kCapsLock)->text(), text("media_play"));
  EXPECT_TRUE(control<QAbstractButton>(kKeyboardRow, n::kSaveButton)->isEnabled());

  // Default and cancel only show; the device keeps what was applied.
  click(kKeyboardRow, n::kDefaultButton);
  EXPECT_EQ(panel(kKeyboardRow)->selected_group(), editors::keys::kGroupDefault);
  click(kKeyboardRow, n::kCancelButton);
  EXPECT_EQ(panel(kKeyboardRow)->selected_group(), editors::keys::kGroupMedia);
  settle(kKeyboardRow);
  EXPECT_EQ(code_on_device(DeviceType::Keyboard, position), (Code{0x30, 0xCD, 0x00}));

  EXPECT_FALSE(control<QAbstractButton>(kKeyboardRow, n::kProfileSaveButton)->isEnabled());

  // Writing the profile sends the whole key table once more: the stored record, not the
  // default the panel shows.
  const uint32_t writes = emu_->exchanges(DeviceType::Keyboard, protocol::CMD_WRITE_KEYS);
  click(kKeyboardRow, n::kDefaultButton);
  click(kKeyboardRow, n::kProfileSaveButton);
  ASSERT_TRUE(wait_until([&] { return emu_->exchanges(DeviceType::Keyboard, protocol::CMD_WRITE_KEYS) > writes; }));
  settle(kKeyboardRow);
  EXPECT_EQ(code_on_device(DeviceType::Keyboard, position), (Code{0x30, 0xCD, 0x00}));
  EXPECT_TRUE(prompts_.informed.isEmpty()) << prompts_.informed.join(QLatin1Char(',')).toStdString();

  // Back to the factory function: the cap's own legend again.
  click(kKeyboardRow, n::kDefaultButton);
  click(kKeyboardRow, n::kSaveButton);
  settle(kKeyboardRow);
  EXPECT_EQ(code_on_device(DeviceType::Keyboard, position), caps);
  EXPECT_EQ(page(kKeyboardRow)->key_button(kCapsLock)->text(), QStringLiteral("Caps"));
}

TEST_F(KeyPanelTest, KeysPressedInTheKeyTextBecomeTheirRecords) {
  start_with(DeviceType::Keyboard, kKeyboardRow);
  const size_t position = keyboard()->key_maps().position[kCapsLock];
  click_key(kKeyboardRow, kCapsLock);
  choose_group(kKeyboardRow, editors::keys::kGroupKeyboard);
  auto* edit = control<QLineEdit>(kKeyboardRow, n::kKeyTextEdit);
  QFocusEvent focus_in(QEvent::FocusIn);
  QApplication::sendEvent(edit, &focus_in);
  ASSERT_TRUE(panel(kKeyboardRow)->capturing());

  struct Case {
    uint32_t input_code;
    Qt::Key key;
    Code code;
  };
  const Case cases[] = {
      {28, Qt::Key_Return, {0x20, 0x00, 0x28}},  // Enter is a key like any other
      {1, Qt::Key_Escape, {0x20, 0x00, 0x29}},
      {29, Qt::Key_Control, {0x20, 0x01, 0x00}},  // a modifier alone
      {97, Qt::Key_Control, {0x20, 0x01, 0x00}},  // the right one folds onto Ctrl
  };
  for (const Case& c : cases) {
    press(edit, c.input_code, c.key);
    settle(kKeyboardRow);
    EXPECT_EQ(code_on_device(DeviceType::Keyboard, position), c.code) << c.input_code;
  }
  // With no modifier box chosen, keypad 1 alone; nothing was typed into the edit.
  click(kKeyboardRow, "key_ComBox_check_0");
  press(edit, 79, Qt::Key_1);
  settle(kKeyboardRow);
  EXPECT_EQ(code_on_device(DeviceType::Keyboard, position), (Code{0x20, 0x00, 0x59}));
  EXPECT_EQ(edit->text(), text("keyboard_key_Num 1"));
  EXPECT_EQ(page(kKeyboardRow)->key_button(kCapsLock)->text(), text("keyboard_key_Num 1"));
  // A key the desktop keeps can be picked by name.
  panel(kKeyboardRow)->TakeKeyEntry(3);  // left Win, as the name search gives it
  settle(kKeyboardRow);
  EXPECT_EQ(code_on_device(DeviceType::Keyboard, position), (Code{0x20, 0x08, 0x00}));

  QFocusEvent focus_out(QEvent::FocusOut);
  QApplication::sendEvent(edit, &focus_out);
  EXPECT_FALSE(panel(kKeyboardRow)->capturing());
  press(edit, 30, Qt::Key_A);
  settle(kKeyboardRow);
  EXPECT_EQ(code_on_device(DeviceType::Keyboard, position), (Code{0x20, 0x08, 0x00}));
}

TEST_F(KeyPanelTest, TheKeyboardOffersNeitherDpiNorGunKeys) {
  start_with(DeviceType::Keyboard, kKeyboardRow);
  auto* functions = control<QComboBox>(kKeyboardRow, n::kFunctionCombo);
  auto* list = qobject_cast<QListView*>(functions->view());
  ASSERT_NE(list, nullptr);
  for (int i = 0; i < functions->count(); ++i) {
    const int group = functions->itemData(i).toInt();
    EXPECT_EQ(list->isRowHidden(i), group == editors::keys::kGroupDpi || group == editors::keys::kGroupGun) << group;
  }
}

TEST_F(KeyPanelTest, TheMouseKeepsItsLastLeftButtonAndTakesCodesAtItsOwnPositions) {
  start_with(DeviceType::Mouse, kMouseRow);
  auto* mouse = static_cast<devices::CMarluneMouseDevice*>(page(kMouseRow)->device());
  const std::vector<KeyAssignRecord> keys = mouse->key_list();
  int left = -1;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].assignment.type == 0x10 && keys[i].assignment.d1 == 0x01) left = static_cast<int>(i);
  }
  ASSERT_GE(left, 0);
  click_key(kMouseRow, left);
  EXPECT_EQ(prompts_.informed, QStringList{QStringLiteral("message_text_6")});
  EXPECT_NE(mouse->selected_key(), left);

  // The forward button sits where the back button's number is: its code goes to its position.
  constexpr int kForward = 3;
  const size_t position = mouse->position_map()[kForward];
  ASSERT_NE(position, static_cast<size_t>(kForward));
  click_key(kMouseRow, kForward);
  choose_group(kMouseRow, editors::keys::kGroupDpi);
  choose(kMouseRow, n::kDpiCombo, 0);
  settle(kMouseRow);
  EXPECT_EQ(code_on_device(DeviceType::Mouse, position), (Code{0x13, 0x01, 0x00}));
  EXPECT_EQ(code_in_profile(kMouseRow, kForward), (Code{0x13, 0x01, 0x00}));

  // Once another button is the left button, the first one may change.
  choose_group(kMouseRow, editors::keys::kGroupMouseButton);
  choose(kMouseRow, n::kMouseKeyCombo, 0);
  settle(kMouseRow);
  prompts_.informed.clear();
  click_key(kMouseRow, left);
  EXPECT_TRUE(prompts_.informed.isEmpty());
  EXPECT_EQ(mouse->selected_key(), left);
}

}  // namespace
}  // namespace qxr::app
