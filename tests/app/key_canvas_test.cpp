// The keyboard picture's container paints its key buttons itself: what it paints, what it
// repaints when one key changes, and the keys that still paint themselves.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPixmap>
#include <QScreen>

#include <memory>

#include "app/pages/fast_key_button.h"
#include "app/pages/key_canvas.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"

namespace qxr::app {
namespace {

using qxr::testing::qt::settle;
using qxr::testing::qt::spin;
using qxr::testing::qt::wait_until;

constexpr QRgb kBackdrop = qRgb(20, 21, 25);
constexpr QRgb kKeyFace = qRgb(37, 38, 45);

class KeyCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QWidget>();
    window_->resize(320, 160);
    window_->setObjectName(QStringLiteral("backdrop"));
    canvas_ = new KeyCanvas(window_.get());
    canvas_->setGeometry(10, 10, 300, 140);
    canvas_->setObjectName(QStringLiteral("case"));
    // As in the program's sheet: the keys' face colour reaches them through the palette.
    window_->setStyleSheet(QStringLiteral("#backdrop { background: #141519; }"
                                          "#case { background: #1C1D22; border: 1px solid #30323A; border-radius: 14px; }"
                                          "#case > QPushButton { background: #25262D; border: none; color: #C9CBD3; }"));
    for (int i = 0; i < 3; ++i) {
      auto* key = new FastKeyButton(canvas_);
      key->setText(QStringLiteral("K%1").arg(i));
      key->setGeometry(40 + i * 80, 50, 60, 40);  // well inside the rounded border
      keys_.push_back(key);
    }
    window_->show();
    ASSERT_TRUE(wait_until([&] { return canvas_->last_paint_faces() == 3; }));
    settle();  // what showing left queued (a layout request) is painted before a test begins
  }

  // What the window shows: the backing store, which keeps what earlier paints left.
  QImage screen() const {
    return QGuiApplication::primaryScreen()->grabWindow(window_->winId()).toImage().convertToFormat(QImage::Format_RGB32);
  }
  // What a paint of everything would show.
  QImage repainted() const { return window_->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  // The colour on screen at a point of the key, away from its label.
  QRgb key_pixel(int index) {
    const QRect at = keys_[static_cast<size_t>(index)]->geometry().translated(canvas_->pos());
    return screen().pixel(at.left() + 5, at.top() + 5);
  }

  std::unique_ptr<QWidget> window_;
  KeyCanvas* canvas_ = nullptr;
  std::vector<FastKeyButton*> keys_;
};

TEST_F(KeyCanvasTest, OneChangedKeyRepaintsOnlyThatFace) {
  for (FastKeyButton* key : keys_) {
    EXPECT_TRUE(key->painted_by_canvas());
    EXPECT_FALSE(key->updatesEnabled());  // the toolkit sends it no paint events
  }
  keys_[0]->set_light_colour(QColor(255, 0, 0));
  settle();
  EXPECT_EQ(canvas_->last_paint_faces(), 1);
  EXPECT_TRUE(canvas_->last_paint_light_only());
  const QRgb lit = key_pixel(0);
  EXPECT_GT(qRed(lit), qRed(kKeyFace) + 100);
  EXPECT_LT(qGreen(lit), qGreen(kKeyFace));
  EXPECT_EQ(key_pixel(1), kKeyFace);

  // Two light changes far apart in one pass are painted together, without the face between,
  // which is not even in the area repainted (and sent to the screen).
  keys_[2]->move(230, 96);
  settle();
  struct PaintedArea : QObject {
    QRegion region;
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(e)->region();
      return false;
    }
  } painted;
  canvas_->installEventFilter(&painted);
  keys_[0]->set_light_colour(QColor(0, 0, 255));
  keys_[2]->set_light_colour(QColor(0, 0, 255));
  settle();
  canvas_->removeEventFilter(&painted);
  EXPECT_EQ(canvas_->last_paint_faces(), 2);
  EXPECT_FALSE(painted.region.intersects(keys_[1]->geometry()));
  EXPECT_GT(qBlue(key_pixel(0)), qBlue(kKeyFace) + 100);
  EXPECT_GT(qBlue(key_pixel(2)), qBlue(kKeyFace) + 100);
  EXPECT_EQ(key_pixel(1), kKeyFace);
}

// A light frame keeps the case, the rims and the overhang of a wide label from the paint
// before. Whatever the frames did, the window must show what painting everything shows.
TEST_F(KeyCanvasTest, LightFramesLeaveTheWindowAsAFullPaintWould) {
  keys_[1]->setText(QStringLiteral("A label wider than its key"));
  keys_[0]->set_selected(true);
  settle();
  const QColor frames[] = {QColor(255, 0, 0), QColor(0, 255, 0, 90), QColor(0, 0, 0, 0), QColor(40, 90, 255)};
  for (const QColor& colour : frames) {
    for (FastKeyButton* key : keys_) key->set_light_colour(colour);
    settle();
    EXPECT_TRUE(canvas_->last_paint_light_only());
    EXPECT_EQ(screen(), repainted()) << "after the frame in " << colour.name(QColor::HexArgb).toStdString();
  }
}

// Over a widget stacked above the canvas, pixels a light frame would keep hold that widget's
// paint too; translucent, it would darken with every frame. Such frames repaint everything.
TEST_F(KeyCanvasTest, AWidgetAboveTheKeysTurnsLightFramesIntoFullPaints) {
  auto* shade = new QWidget(window_.get());
  shade->setObjectName(QStringLiteral("shade"));
  shade->setStyleSheet(QStringLiteral("#shade { background: rgba(255, 255, 255, 60); }"));
  shade->setGeometry(keys_[1]->geometry().translated(canvas_->pos()).adjusted(-6, -6, 6, 6));
  shade->show();
  settle();
  for (int i = 0; i < 4; ++i) {
    keys_[1]->set_light_colour(QColor::fromHsv(i * 60, 255, 255));
    settle();
    EXPECT_FALSE(canvas_->last_paint_light_only());
  }
  EXPECT_EQ(screen(), repainted());
  // Gone again, it no longer costs the frames anything.
  shade->hide();
  settle();
  keys_[1]->set_light_colour(QColor(255, 0, 0));
  settle();
  EXPECT_TRUE(canvas_->last_paint_light_only());
  EXPECT_EQ(screen(), repainted());
}

TEST_F(KeyCanvasTest, InATranslucentWindowLightFramesRepaintEverything) {
  // Such a window's backing store (on X11, Wayland) clears each repainted area: no rim is kept.
  QWidget translucent;
  translucent.setAttribute(Qt::WA_TranslucentBackground);
  translucent.resize(window_->size());
  canvas_->setParent(&translucent);
  translucent.show();
  settle();
  keys_[0]->set_light_colour(QColor(255, 0, 0));
  settle();
  EXPECT_FALSE(canvas_->last_paint_light_only());
  canvas_->setParent(window_.get());  // the fixture deletes it with its window
}

TEST_F(KeyCanvasTest, ThePictureLiesUnderTheKeysAndStaysThroughLightFrames) {
  QPixmap red(8, 8);
  red.fill(Qt::red);
  canvas_->set_picture(red);  // scaled to the whole canvas
  settle();
  const QPoint between = canvas_->pos() + QPoint(150, 20);  // above the keys
  EXPECT_EQ(screen().pixel(between), qRgb(255, 0, 0));
  keys_[1]->set_light_colour(QColor(0, 0, 255));
  settle();
  EXPECT_TRUE(canvas_->last_paint_light_only());
  EXPECT_EQ(screen().pixel(between), qRgb(255, 0, 0));
  EXPECT_EQ(screen(), repainted());
}

TEST_F(KeyCanvasTest, ANewLabelIsPaintedWithoutALightChange) {
  keys_[0]->set_light_colour(QColor(255, 0, 0));
  ASSERT_TRUE(wait_until([&] { return canvas_->last_paint_faces() == 1; }));
  // The key does not paint itself; the canvas hears of the new text and repaints.
  keys_[1]->setText(QStringLiteral("Wide label"));
  EXPECT_TRUE(wait_until([&] { return canvas_->last_paint_faces() == 3; }, 2000));
}

TEST_F(KeyCanvasTest, AHiddenKeyLeavesTheCaseAndTheCornersShowTheBackdrop) {
  keys_[1]->set_light_colour(QColor(0, 255, 0));
  keys_[1]->hide();
  // Repainting just the key's place, as a frame does, inside the case's border.
  const QRect gone = keys_[1]->geometry();
  QImage part(canvas_->size(), QImage::Format_ARGB32_Premultiplied);
  part.fill(Qt::magenta);
  canvas_->render(&part, gone.topLeft(), QRegion(gone));
  EXPECT_EQ(part.pixel(gone.center()), qRgb(0x1C, 0x1D, 0x22));
  // The canvas is opaque: outside its rounded case it paints what lies behind it.
  const QImage image = canvas_->grab().toImage();
  EXPECT_EQ(image.pixel(gone.center()), qRgb(0x1C, 0x1D, 0x22));
  EXPECT_EQ(image.pixel(0, 0), kBackdrop);
  EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), kBackdrop);
}

TEST_F(KeyCanvasTest, AKeyShowingAnImagePaintsItselfUntilTheImageGoes) {
  keys_[2]->set_keyset_image(QStringLiteral("file='images/keyset.png'"));
  keys_[2]->set_keyset_image_hidden(false);
  EXPECT_FALSE(keys_[2]->painted_by_canvas());
  EXPECT_TRUE(keys_[2]->updatesEnabled());
  keys_[2]->set_keyset_image_hidden(true);
  EXPECT_TRUE(keys_[2]->painted_by_canvas());
  EXPECT_FALSE(keys_[2]->updatesEnabled());
  // A key outside a canvas always paints itself.
  FastKeyButton loose;
  EXPECT_FALSE(loose.painted_by_canvas());
  EXPECT_TRUE(loose.updatesEnabled());
}

}  // namespace
}  // namespace qxr::app
