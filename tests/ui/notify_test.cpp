// Notifications: every widget kind of the skins reports with its name, driven as a user would.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>

#include "colour_widget.h"
#include "tests/support/event_loop.h"
#include "ui/control_timer.h"
#include "ui/notify_wiring.h"
#include "ui/number_edit.h"
#include "ui/skin_loader.h"
#include "ui_test_support.h"

using namespace qxr::ui;
using namespace qxr::ui::testing;
using qxr::testing::qt::wait_until;

namespace {

class NotifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resources_ = SkinResources::open(test_skin_dir());
    ASSERT_TRUE(resources_);
    SkinLoader loader(ControlFactory::global(), *resources_);
    root_.reset(loader.load_skin(QStringLiteral("XML_CONTROLS")));
    ASSERT_NE(root_, nullptr);
    set_notify_handler(root_.get(), &rec_);
    root_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(root_.get()));
    root_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(root_.get()));
  }

  template <typename T>
  T* find(const char* name) {
    T* w = root_->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  std::optional<SkinResources> resources_;
  std::unique_ptr<QWidget> root_;
  Recorder rec_;
};

}  // namespace

TEST_F(NotifyTest, TheRootAnnouncesItsFirstShowAndEveryResize) {
  EXPECT_EQ(rec_.count(QStringLiteral("windowinit"), QStringLiteral("root")), 1);
  root_->hide();
  root_->show();
  EXPECT_EQ(rec_.count(QStringLiteral("windowinit")), 1);
  rec_.clear();
  root_->resize(640, 420);
  const auto size = rec_.last(QStringLiteral("windowsize"), QStringLiteral("root"));
  ASSERT_TRUE(size);
  EXPECT_EQ(size->param1, 640);
  EXPECT_EQ(size->param2, 420);
}

TEST_F(NotifyTest, ButtonsClickAndHover) {
  auto* button = find<QPushButton>("plain_btn");
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(rec_.count(QStringLiteral("click"), QStringLiteral("plain_btn")), 1);
  EXPECT_EQ(rec_.count(QStringLiteral("selectchanged")), 0);
  const auto click = rec_.last(QStringLiteral("click"));
  EXPECT_EQ(click->sender.data(), button);

  rec_.clear();
  QTest::mouseMove(button, button->rect().center());
  EXPECT_TRUE(wait_until([&] { return rec_.count(QStringLiteral("msenter"), QStringLiteral("plain_btn")) == 1; }));
  QTest::mouseMove(root_.get(), QPoint(590, 390));
  EXPECT_TRUE(wait_until([&] { return rec_.count(QStringLiteral("msleave"), QStringLiteral("plain_btn")) == 1; }));

  // A disabled button says nothing.
  rec_.clear();
  button->setEnabled(false);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(rec_.count(QStringLiteral("click")), 0);
}

TEST_F(NotifyTest, CheckBoxesReportBothStates) {
  auto* check = find<QCheckBox>("deng_FXL_check");
  const QPoint box(8, check->height() / 2);  // on the indicator
  QTest::mouseClick(check, Qt::LeftButton, {}, box);
  auto sel = rec_.last(QStringLiteral("selectchanged"), QStringLiteral("deng_FXL_check"));
  ASSERT_TRUE(sel);
  EXPECT_EQ(sel->param1, 1);
  EXPECT_EQ(rec_.count(QStringLiteral("click"), QStringLiteral("deng_FXL_check")), 1);
  QTest::mouseClick(check, Qt::LeftButton, {}, box);
  EXPECT_EQ(rec_.count(QStringLiteral("selectchanged"), QStringLiteral("deng_FXL_check")), 2);
  EXPECT_EQ(rec_.last(QStringLiteral("selectchanged"))->param1, 0);
}

TEST_F(NotifyTest, ExclusiveOptionsReportOnlyTheOneSelected) {
  auto* second = find<QRadioButton>("polling_rate_option_1");
  QTest::mouseClick(second, Qt::LeftButton);
  EXPECT_EQ(rec_.count(QStringLiteral("selectchanged"), QStringLiteral("polling_rate_option_1")), 1);
  EXPECT_EQ(rec_.count(QStringLiteral("selectchanged"), QStringLiteral("polling_rate_option_0")), 0);
  EXPECT_TRUE(find<QRadioButton>("polling_rate_option_0")->isChecked() == false);

  // Selected by the program: reported, unless silenced.
  rec_.clear();
  find<QRadioButton>("polling_rate_option_0")->setChecked(true);
  EXPECT_EQ(rec_.count(QStringLiteral("selectchanged"), QStringLiteral("polling_rate_option_0")), 1);
  {
    NotifySilencer quiet(second);
    second->setChecked(true);
  }
  EXPECT_EQ(rec_.count(QStringLiteral("selectchanged"), QStringLiteral("polling_rate_option_1")), 0);
  QTest::mouseClick(find<QRadioButton>("polling_rate_option_0"), Qt::LeftButton);
  EXPECT_EQ(rec_.count(QStringLiteral("selectchanged"), QStringLiteral("polling_rate_option_0")), 2);
}

TEST_F(NotifyTest, CheckableButtonsAreOptions) {
  auto* option = find<QPushButton>("option_btn");
  QTest::mouseClick(option, Qt::LeftButton);
  EXPECT_EQ(rec_.last(QStringLiteral("click"), QStringLiteral("option_btn"))->param1, 1);
  EXPECT_EQ(rec_.last(QStringLiteral("selectchanged"), QStringLiteral("option_btn"))->param1, 1);
}

TEST_F(NotifyTest, ComboBoxesReportNewAndOldItem) {
  auto* combo = find<QComboBox>("light_combo_modeSelect");
  combo->setFocus();
  QTest::keyClick(combo, Qt::Key_Down);
  auto sel = rec_.last(QStringLiteral("itemselect"), QStringLiteral("light_combo_modeSelect"));
  ASSERT_TRUE(sel);
  EXPECT_EQ(sel->param1, 1);
  EXPECT_EQ(sel->param2, 0);

  // "Select with notification" is the default for the program too...
  rec_.clear();
  combo->setCurrentIndex(2);
  sel = rec_.last(QStringLiteral("itemselect"));
  ASSERT_TRUE(sel);
  EXPECT_EQ(sel->param1, 2);
  EXPECT_EQ(sel->param2, 1);
  // ...and "without" is a silencer.
  rec_.clear();
  select_item(combo, 0, false);
  EXPECT_EQ(rec_.count(QStringLiteral("itemselect")), 0);
  EXPECT_EQ(combo->currentIndex(), 0);
  EXPECT_FALSE(notifications_silenced(combo));
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(rec_.last(QStringLiteral("itemselect"))->param2, 0);  // the silent change still counts as "old"
}

TEST_F(NotifyTest, SlidersCommitOnReleaseAndReportLiveMoves) {
  auto* slider = find<QSlider>("deng_speed_slider");
  QStyleOptionSlider option;
  option.initFrom(slider);
  option.orientation = slider->orientation();
  option.minimum = slider->minimum();
  option.maximum = slider->maximum();
  option.sliderPosition = slider->sliderPosition();
  option.sliderValue = slider->value();
  const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
  QTest::mousePress(slider, Qt::LeftButton, {}, handle.center());
  QTest::mouseMove(slider, QPoint(slider->width() / 2, handle.center().y()));
  QTest::mouseMove(slider, QPoint(slider->width() - 2, handle.center().y()));
  EXPECT_GE(rec_.count(QStringLiteral("movevaluechanged"), QStringLiteral("deng_speed_slider")), 1);
  EXPECT_EQ(rec_.count(QStringLiteral("valuechanged")), 0);  // nothing committed while held
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(slider->width() - 2, handle.center().y()));
  const auto committed = rec_.last(QStringLiteral("valuechanged"), QStringLiteral("deng_speed_slider"));
  ASSERT_TRUE(committed);
  EXPECT_EQ(committed->param1, slider->maximum());
  EXPECT_EQ(rec_.last(QStringLiteral("movevaluechanged"))->param1, slider->maximum());

  // Keyboard steps commit at once.
  rec_.clear();
  slider->setFocus();
  QTest::keyClick(slider, Qt::Key_Left);
  EXPECT_EQ(rec_.count(QStringLiteral("valuechanged")), 1);
  EXPECT_EQ(rec_.last(QStringLiteral("valuechanged"))->param1, 3);
  QTest::keyClick(slider, Qt::Key_Home);
  EXPECT_EQ(rec_.last(QStringLiteral("valuechanged"))->param1, 0);
  // At the end already: no change, nothing to commit, and a later setValue stays silent.
  rec_.clear();
  QTest::keyClick(slider, Qt::Key_Left);
  slider->setValue(2);
  EXPECT_EQ(rec_.count(QStringLiteral("valuechanged")), 0);
  EXPECT_EQ(rec_.count(QStringLiteral("movevaluechanged")), 0);
}

TEST_F(NotifyTest, EditsReportTypingAndLosingFocus) {
  auto* edit = find<QLineEdit>("deng_edit_R");
  edit->setFocus();
  ASSERT_TRUE(wait_until([&] { return edit->hasFocus(); }));
  QTest::keyClicks(edit, QStringLiteral("12"));
  EXPECT_EQ(rec_.count(QStringLiteral("textchanged"), QStringLiteral("deng_edit_R")), 2);
  edit->setText(QStringLiteral("255"));  // the program's own text is not the user's
  EXPECT_EQ(rec_.count(QStringLiteral("textchanged")), 2);
  EXPECT_EQ(rec_.count(QStringLiteral("killfocus")), 0);
  find<QLineEdit>("deng_edit_G")->setFocus();
  EXPECT_TRUE(wait_until([&] { return rec_.count(QStringLiteral("killfocus"), QStringLiteral("deng_edit_R")) == 1; }));
  EXPECT_EQ(rec_.count(QStringLiteral("killfocus"), QStringLiteral("deng_edit_G")), 0);
}

TEST_F(NotifyTest, NumberEditsTakeDigitsAndWriteBackTheClampedValue) {
  auto* edit = find<QLineEdit>("deng_edit_G");
  make_number_edit(edit, 3);
  edit->setFocus();
  ASSERT_TRUE(wait_until([&] { return edit->hasFocus(); }));
  QTest::keyClicks(edit, QStringLiteral("4x-9.17"));
  EXPECT_EQ(edit->text(), QStringLiteral("491"));  // digits only, three at most
  EXPECT_EQ(commit_number(edit, 0, 255, 0), 255);
  EXPECT_EQ(edit->text(), QStringLiteral("255"));
  edit->setText(QStringLiteral("7"));
  EXPECT_EQ(commit_number(edit, 10, 20, 15), 10);
  EXPECT_EQ(edit->text(), QStringLiteral("10"));
  edit->clear();
  EXPECT_EQ(commit_number(edit, 0, 255, 128), 128);
  EXPECT_EQ(edit->text(), QStringLiteral("128"));
  EXPECT_EQ(commit_number(nullptr, 0, 9, 12), 9);
}

TEST_F(NotifyTest, ListsReportSelectionClicksAndActivation) {
  auto* list = find<QListWidget>("macro_name_list");
  const QPoint second = list->visualItemRect(list->item(1)).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
  const auto sel = rec_.last(QStringLiteral("itemselect"), QStringLiteral("macro_name_list"));
  ASSERT_TRUE(sel);
  EXPECT_EQ(sel->param1, 1);
  EXPECT_EQ(sel->param2, -1);
  EXPECT_EQ(rec_.last(QStringLiteral("itemclick"))->param1, 1);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
  EXPECT_TRUE(wait_until([&] { return rec_.count(QStringLiteral("itemactivate"), QStringLiteral("macro_name_list")) >= 1; }));
  list->setCurrentRow(2);
  EXPECT_EQ(rec_.last(QStringLiteral("itemselect"))->param2, 1);
}

TEST_F(NotifyTest, ControlTimersReachControlAndWindow) {
  auto* button = find<QPushButton>("plain_btn");
  start_control_timer(button, 7, 5);
  EXPECT_TRUE(control_timer_active(button, 7));
  EXPECT_TRUE(wait_until([&] { return rec_.count(QStringLiteral("timer"), QStringLiteral("plain_btn")) >= 2; }));
  EXPECT_EQ(rec_.last(QStringLiteral("timer"))->param1, 7);
  stop_control_timer(button, 7);
  EXPECT_FALSE(control_timer_active(button, 7));
  const int ticks = rec_.count(QStringLiteral("timer"));
  QTest::qWait(30);
  EXPECT_EQ(rec_.count(QStringLiteral("timer")), ticks);
}

TEST_F(NotifyTest, ColourPickersReportTheirColour) {
  auto* dialog = new QColorDialog(root_.get());
  dialog->setWindowFlags(Qt::Widget);
  dialog->setOptions(QColorDialog::NoButtons | QColorDialog::DontUseNativeDialog);
  dialog->setObjectName(QStringLiteral("deng_color_picker"));
  wire_notifications(dialog);
  dialog->setCurrentColor(QColor(10, 20, 30));
  const auto changed = rec_.last(QStringLiteral("colorchanged"), QStringLiteral("deng_color_picker"));
  ASSERT_TRUE(changed);
  EXPECT_EQ(static_cast<QRgb>(changed->param1), QColor(10, 20, 30).rgba());

  auto* own = new ColourWidget(root_.get());
  own->setObjectName(QStringLiteral("palette"));
  wire_notifications(root_.get());  // wiring again picks up new widgets only
  own->pick(QColor(200, 100, 50));
  EXPECT_EQ(rec_.count(QStringLiteral("colorchanged"), QStringLiteral("palette")), 1);
  QTest::mouseClick(find<QPushButton>("plain_btn"), Qt::LeftButton);
  EXPECT_EQ(rec_.count(QStringLiteral("click"), QStringLiteral("plain_btn")), 1);  // not doubled
}

TEST(NotifyRouting, GoesToTheNearestHandlerAndDropsWithoutOne) {
  QWidget outer;
  auto* inner = new QWidget(&outer);
  auto* button = new QPushButton(inner);
  button->setObjectName(QStringLiteral("deep_btn"));
  wire_notifications(&outer);
  EXPECT_FALSE(send_notify(button, QStringLiteral("click")));

  Recorder outer_rec;
  Recorder inner_rec;
  set_notify_handler(&outer, &outer_rec);
  button->click();
  EXPECT_EQ(outer_rec.count(QStringLiteral("click"), QStringLiteral("deep_btn")), 1);
  set_notify_handler(inner, &inner_rec);
  button->click();
  EXPECT_EQ(inner_rec.count(QStringLiteral("click")), 1);
  EXPECT_EQ(outer_rec.count(QStringLiteral("click")), 1);
  set_notify_handler(inner, nullptr);
  button->click();
  EXPECT_EQ(outer_rec.count(QStringLiteral("click")), 2);

  // A handler that goes first leaves no dangling route behind.
  {
    Recorder short_lived;
    set_notify_handler(inner, &short_lived);
  }
  EXPECT_EQ(notify_handler_for(button), &outer_rec);
  button->click();
  EXPECT_EQ(outer_rec.count(QStringLiteral("click")), 3);

  // A page built alone reports to the window it is later placed in.
  auto* page = new QWidget;
  auto* page_btn = new QPushButton(page);
  page_btn->setObjectName(QStringLiteral("key_butt_keysave"));
  wire_notifications(page);
  page->setParent(&outer);
  page_btn->click();
  EXPECT_EQ(outer_rec.count(QStringLiteral("click"), QStringLiteral("key_butt_keysave")), 1);
}

TEST(NotifyRouting, AFocusedEditTornDownAfterItsHandlerReachesTheNextOne) {
  QWidget window;
  auto* page = new QWidget(&window);
  auto* edit = new QLineEdit(page);
  edit->setObjectName(QStringLiteral("deng_edit_B"));
  wire_notifications(&window);
  Recorder window_rec;
  set_notify_handler(&window, &window_rec);
  {
    Recorder page_rec;
    set_notify_handler(page, &page_rec);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    ASSERT_TRUE(wait_until([&] { return edit->hasFocus(); }));
  }
  delete page;  // the focused edit's "killfocus" on the way out skips the dead handler
  EXPECT_EQ(window_rec.count(QStringLiteral("killfocus"), QStringLiteral("deng_edit_B")), 1);
}
