// The program's own controls, driven with the mouse on the offscreen platform.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "tests/support/event_loop.h"
#include "ui/control_timer.h"
#include "ui/controls/circle_progress.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/hand_img_button.h"
#include "ui/controls/hand_img_select_button.h"
#include "ui/controls/redio_macro_button.h"
#include "ui/controls/select_panel.h"
#include "ui/controls/wnd_host.h"
#include "ui/skin_loader.h"
#include "ui_test_support.h"

using namespace qxr::ui;
using namespace qxr::ui::testing;
using qxr::testing::qt::settle;
using qxr::testing::qt::wait_until;

namespace {

class ControlsTest : public ::testing::Test {
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
    panel_ = root_->findChild<CSelectPanelUI*>(QStringLiteral("device_key_light"));
    ASSERT_NE(panel_, nullptr);
    keys_ = key_buttons(panel_);
    ASSERT_EQ(keys_.size(), 4);
  }

  void drag(QWidget* w, QPoint from, QPoint to) {
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    QTest::mouseMove(w, (from + to) / 2);
    QTest::mouseMove(w, to);
    QTest::mouseRelease(w, Qt::LeftButton, {}, to);
  }

  std::vector<bool> selection() const {
    std::vector<bool> s;
    for (auto* k : keys_) s.push_back(k->selected());
    return s;
  }

  std::optional<SkinResources> resources_;
  std::unique_ptr<QWidget> root_;
  Recorder rec_;
  CSelectPanelUI* panel_ = nullptr;
  QList<CDeviceKeyButtonUI*> keys_;
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  int paints = 0;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

}  // namespace

TEST_F(ControlsTest, RubberBandSelectsTouchedKeysAndClearsTheRest) {
  keys_[0]->set_selected(true);
  keys_[3]->set_selected(true);
  // From empty panel space right of key_2 to inside key_1: touches key_1 and key_2 only.
  drag(panel_, QPoint(160, 5), QPoint(70, 30));
  EXPECT_EQ(selection(), (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(panel_->selection_rect(), QRect(QPoint(70, 5), QPoint(160, 30)));
  const auto end = rec_.last(QStringLiteral("click_select_end"), QStringLiteral("device_key_light"));
  ASSERT_TRUE(end);
  EXPECT_EQ(end->param1, 2);
  EXPECT_FALSE(panel_->tracking());
  EXPECT_FALSE(panel_->dragging());
}

TEST_F(ControlsTest, RubberBandTouchingNothingClearsAllAndStillReports) {
  for (auto* k : keys_) k->set_selected(true);
  drag(panel_, QPoint(290, 190), QPoint(270, 120));
  EXPECT_EQ(selection(), (std::vector<bool>{false, false, false, false}));
  const auto end = rec_.last(QStringLiteral("click_select_end"));
  ASSERT_TRUE(end);
  EXPECT_EQ(end->param1, 0);
}

TEST_F(ControlsTest, RubberBandSkipsHiddenKeysAndNeedsADrag) {
  keys_[1]->hide();
  drag(panel_, QPoint(5, 5), QPoint(160, 65));
  EXPECT_EQ(selection(), (std::vector<bool>{true, false, true, true}));

  rec_.clear();
  QTest::mouseClick(panel_, Qt::LeftButton, {}, QPoint(280, 100));
  EXPECT_EQ(rec_.count(QStringLiteral("click_select_end")), 0);
  EXPECT_EQ(selection(), (std::vector<bool>{true, false, true, true}));  // a click changes nothing
  EXPECT_FALSE(panel_->tracking());

  panel_->setEnabled(false);
  drag(panel_, QPoint(290, 190), QPoint(5, 5));
  EXPECT_EQ(rec_.count(QStringLiteral("click_select_end")), 0);
  EXPECT_EQ(selection(), (std::vector<bool>{true, false, true, true}));
}

TEST_F(ControlsTest, KeyButtonsReportDoubleClicksWhileEnabled) {
  QTest::mouseDClick(keys_[2], Qt::LeftButton);
  EXPECT_EQ(rec_.count(QStringLiteral("dbclick"), QStringLiteral("key_2")), 1);
  keys_[2]->setEnabled(false);
  QTest::mouseDClick(keys_[2], Qt::LeftButton);
  EXPECT_EQ(rec_.count(QStringLiteral("dbclick")), 1);
  QTest::mouseClick(keys_[1], Qt::LeftButton);
  EXPECT_EQ(rec_.count(QStringLiteral("click"), QStringLiteral("key_1")), 1);
}

TEST_F(ControlsTest, KeyButtonsRepaintOnlyWhenTheirColourChanges) {
  CDeviceKeyButtonUI* key = keys_[0];
  PaintCounter counter;
  key->installEventFilter(&counter);
  // A change is painted once everything posted is delivered: settle() is how this test knows
  // that nothing is still on its way, without a sleep that load could outrun.
  key->set_light_colour(QColor(255, 0, 0, 255));
  settle();
  ASSERT_GT(counter.paints, 0);
  counter.paints = 0;
  for (int i = 0; i < 5; ++i) key->set_light_colour(QColor(255, 0, 0, 255));
  settle();
  EXPECT_EQ(counter.paints, 0);
  key->set_light_colour(QColor(255, 0, 0, 128));  // brightness alone is a change
  settle();
  EXPECT_GT(counter.paints, 0);
  EXPECT_EQ(key->light_colour(), QColor(255, 0, 0, 128));
}

TEST_F(ControlsTest, KeyButtonsShowTheirLightColour) {
  CDeviceKeyButtonUI* key = keys_[1];
  const QPoint spot(6, 34);  // inside the key, clear of its label
  const QColor before = key->grab().toImage().pixelColor(spot);
  key->set_light_colour(QColor(0, 255, 0, 255));
  const QColor lit = key->grab().toImage().pixelColor(spot);
  EXPECT_LT(lit.red(), 100);
  EXPECT_GT(lit.green(), lit.red() + 100);
  key->set_light_colour(QColor(0, 255, 0, 0));  // brightness 0: dark again
  EXPECT_EQ(key->grab().toImage().pixelColor(spot), before);
  EXPECT_TRUE(key->keyset_image_hidden());
  EXPECT_FALSE(key->light_overlay());
}

TEST_F(ControlsTest, HandImageButtonOffersDeleteOnlyWhenAsked) {
  auto* hand = root_->findChild<CHandImgButtonUI*>(QStringLiteral("hand_btn"));
  ASSERT_NE(hand, nullptr);
  const QPoint mark = CHandImgButtonUI::delete_mark_rect(hand->size(), 96).center();
  QTest::mouseMove(hand, QPoint(20, 20));
  EXPECT_TRUE(wait_until([&] { return rec_.count(QStringLiteral("msenter"), QStringLiteral("hand_btn")) == 1; }));
  EXPECT_TRUE(hand->hovered());

  // Delete hidden (the default): the corner is just part of the button.
  QTest::mouseClick(hand, Qt::LeftButton, {}, mark);
  EXPECT_EQ(rec_.count(QStringLiteral("click"), QStringLiteral("hand_btn")), 1);
  EXPECT_EQ(rec_.count(QStringLiteral("click_handdelete")), 0);

  hand->set_delete_hidden(false);
  QTest::mouseClick(hand, Qt::LeftButton, {}, mark);
  EXPECT_EQ(rec_.count(QStringLiteral("click_handdelete"), QStringLiteral("hand_btn")), 1);
  EXPECT_EQ(rec_.count(QStringLiteral("click"), QStringLiteral("hand_btn")), 1);  // no click with it
  QTest::mouseClick(hand, Qt::LeftButton, {}, QPoint(20, 20));
  EXPECT_EQ(rec_.count(QStringLiteral("click"), QStringLiteral("hand_btn")), 2);
  EXPECT_EQ(rec_.count(QStringLiteral("click_handdelete")), 1);

  QTest::mouseMove(root_.get(), QPoint(590, 390));
  EXPECT_TRUE(wait_until([&] { return rec_.count(QStringLiteral("msleave"), QStringLiteral("hand_btn")) == 1; }));
  EXPECT_FALSE(hand->hovered());
  // The button sends its own hover notifications; the adapter does not add a second pair.
  EXPECT_EQ(rec_.count(QStringLiteral("msenter"), QStringLiteral("hand_btn")), 1);
}

TEST_F(ControlsTest, HandImageSelectButtonPansInsideThePicture) {
  QTemporaryDir dir;
  QImage big(400, 300, QImage::Format_RGB32);
  big.fill(Qt::darkCyan);
  const QString path = dir.filePath(QStringLiteral("big.png"));
  ASSERT_TRUE(big.save(path));
  auto* button = root_->findChild<CHandImgSelectButtonUI*>(QStringLiteral("hand_select_btn"));
  ASSERT_NE(button, nullptr);
  button->set_hand_image(path);
  EXPECT_EQ(button->image_size(), QSize(400, 300));
  EXPECT_EQ(button->current_image(), QStringLiteral("file='%1' source='0,0,120,90'").arg(path));

  QTest::mousePress(button, Qt::LeftButton, {}, QPoint(60, 45));
  QTest::mouseMove(button, QPoint(40, 35));  // left and up: the crop moves right and down
  EXPECT_EQ(button->pan_offset(), QPoint(20, 10));
  EXPECT_EQ(button->current_image(), QStringLiteral("file='%1' source='20,10,140,100'").arg(path));
  QTest::mouseMove(button, QPoint(-2000, -2000));
  EXPECT_EQ(button->pan_offset(), QPoint(280, 210));  // stops at the picture's edge
  QTest::mouseMove(button, QPoint(4000, 4000));
  EXPECT_EQ(button->pan_offset(), QPoint(0, 0));
  QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(60, 45));
  QTest::mouseMove(button, QPoint(10, 10));
  EXPECT_EQ(button->pan_offset(), QPoint(0, 0));  // released: moves do not pan

  QImage small(50, 40, QImage::Format_RGB32);
  small.fill(Qt::red);
  const QString small_path = dir.filePath(QStringLiteral("small.png"));
  ASSERT_TRUE(small.save(small_path));
  button->set_hand_image(small_path);
  EXPECT_EQ(button->current_image(), QStringLiteral("file='%1'").arg(small_path));
  EXPECT_EQ(button->grab().toImage().pixelColor(60, 45), QColor(Qt::red));
}

TEST_F(ControlsTest, RecordingButtonPulsesWithinItsRangeWhileRunning) {
  auto* rec_button = root_->findChild<CRedioMacroButtonUI*>(QStringLiteral("macro_btn_starredio"));
  ASSERT_NE(rec_button, nullptr);
  rec_button->set_running(true);
  EXPECT_TRUE(control_timer_active(rec_button, CRedioMacroButtonUI::kBlinkTimerId));
  int lowest = 255;
  int highest = 0;
  for (int tick = 0; tick < 60; ++tick) {
    rec_button->on_control_timer(CRedioMacroButtonUI::kBlinkTimerId);
    lowest = std::min(lowest, rec_button->fade());
    highest = std::max(highest, rec_button->fade());
    ASSERT_GE(rec_button->fade(), 80);
    ASSERT_LE(rec_button->fade(), 255);
    EXPECT_TRUE(control_timer_active(rec_button, CRedioMacroButtonUI::kBlinkTimerId));
  }
  EXPECT_EQ(lowest, 80);
  EXPECT_EQ(highest, 255);
  EXPECT_EQ(rec_button->current_image(),
            QStringLiteral("res='images/rec.png' fade='%1'").arg(rec_button->fade()));
  // The real timer drives it too.
  const int fade = rec_button->fade();
  EXPECT_TRUE(wait_until([&] { return rec_button->fade() != fade; }));

  rec_button->set_running(false);
  EXPECT_FALSE(control_timer_active(rec_button, CRedioMacroButtonUI::kBlinkTimerId));
  EXPECT_TRUE(rec_button->current_image().isEmpty());
  // A tick already on its way does not restart a stopped button.
  rec_button->on_control_timer(CRedioMacroButtonUI::kBlinkTimerId);
  EXPECT_FALSE(control_timer_active(rec_button, CRedioMacroButtonUI::kBlinkTimerId));
}

TEST_F(ControlsTest, CircleProgressDrawsARing) {
  auto* ring = root_->findChild<CCircleProgressUI*>(QStringLiteral("progress_ring"));
  ASSERT_NE(ring, nullptr);
  ring->setValue(35);  // a quarter of 10..110
  const QImage image = ring->grab().toImage();
  ASSERT_EQ(image.size(), QSize(80, 80));
  // Halfway through the 12-pixel ring of an 80-pixel circle: 45 degrees clockwise from twelve
  // is done, 225 degrees is not.
  const QPoint at_45(64, 16);
  const QPoint at_225(16, 64);
  EXPECT_EQ(image.pixelColor(at_45), QColor(0, 255, 0));
  EXPECT_EQ(image.pixelColor(at_225), QColor(0x20, 0x30, 0x40));
  // The middle is not painted by the ring.
  const QColor middle = image.pixelColor(40, 40);
  EXPECT_NE(middle, QColor(0, 255, 0));
  EXPECT_NE(middle, QColor(0x20, 0x30, 0x40));
  ring->setValue(110);
  EXPECT_EQ(ring->grab().toImage().pixelColor(at_225), QColor(0, 255, 0));
  ring->setValue(10);
  EXPECT_EQ(ring->grab().toImage().pixelColor(at_45), QColor(0x20, 0x30, 0x40));
}

TEST_F(ControlsTest, WndHostKeepsItsWidgetOnItsRectangle) {
  auto* host = root_->findChild<CWndUI*>(QStringLiteral("wnd_host"));
  ASSERT_NE(host, nullptr);
  auto* hosted = new QLabel(QStringLiteral("chart"));
  host->attach(hosted);
  EXPECT_EQ(hosted->parentWidget(), host);
  EXPECT_EQ(hosted->geometry(), host->rect());
  EXPECT_TRUE(hosted->isVisible());
  host->resize(120, 70);
  EXPECT_EQ(hosted->geometry(), QRect(0, 0, 120, 70));
  host->hide();
  EXPECT_FALSE(hosted->isVisible());
  host->show();
  EXPECT_TRUE(hosted->isVisible());
  delete hosted;  // a host outliving its window does not touch it
  host->resize(80, 60);
  EXPECT_EQ(host->hosted(), nullptr);
}

TEST_F(ControlsTest, WndHostPlacesAWindowOverItself) {
  auto* host = root_->findChild<CWndUI*>(QStringLiteral("wnd_host"));
  ASSERT_NE(host, nullptr);
  QWidget other;
  other.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
  host->attach(&other);
  EXPECT_TRUE(other.isWindow());
  EXPECT_EQ(other.geometry().topLeft(), host->mapToGlobal(QPoint(0, 0)));
  EXPECT_EQ(other.size(), host->size());
  host->attach(nullptr);
}
