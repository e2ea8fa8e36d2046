#pragma once
// The key buttons and LED indicators of the device pictures, painted the cheap way. A keyboard
// page repaints up to 170 of them 20 times a second; through the style sheet each paint costs
// tens of microseconds (palette set-up, borders, text layout). This button keeps the toolkit's
// behaviour and look parameters (the style sheet's background and text colour reach it through
// the palette, its font through the font) and paints with flat fills and a cached label image. The
// light and key-set images still take the toolkit's full paint.
//
// Inside a KeyCanvas the button does not paint at all: the canvas paints every changed face in
// one pass, which saves the toolkit's per-widget paint machinery (most of the cost of a frame).
#include <QPointer>
#include <QFont>
#include <QImage>

#include "ui/controls/device_key_button.h"

class QPainter;

namespace qxr::app {

class KeyCanvas;

class FastKeyButton : public CDeviceKeyButtonUI {
  Q_OBJECT
 public:
  explicit FastKeyButton(QWidget* parent = nullptr);

  // The face (fills, label, selection and hover marks), with the button's top-left corner at
  // origin in the painter's coordinates; ratio is the paint device's pixel ratio. light_only
  // paints just the middle, over an unchanged rest.
  void paint_face(QPainter& p, const QPoint& origin, qreal ratio, bool light_only = false);
  bool painted_by_canvas() const { return !canvas_.isNull(); }
  // The middle of the face, which the light colour fills (parent coordinates).
  QRect light_area() const;

 protected:
  void look_changed() override;
  void light_changed() override;
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool needs_images() const;
  // Chooses who paints the face: the canvas parent when there is one and no image is shown.
  void choose_painter();
  void refresh_look();
  void repaint_area(const QRect& in_parent);
  void draw_label_image(const QColor& pen);
  QRect inner_rect() const;
  // In the button's own coordinates.
  void paint_whole(QPainter& p, qreal ratio);
  // Over the face left by the last full paint: its middle, label and selection mark.
  void paint_light(QPainter& p, const QPoint& origin);
  static void paint_selection(QPainter& p, const QRect& inner);
  // The light colour at the strength a face shows it.
  QColor shown_light() const;
  // The label at `at`, clipped to bounds when clip is set.
  void draw_label(QPainter& p, const QPointF& at, const QRect& bounds, bool clip);

  QPointer<KeyCanvas> canvas_;
  // The parent when it is a canvas, looked up when the parent changes: a light frame changes
  // every key's look, and a cast per key and frame showed in profiles.
  QPointer<KeyCanvas> parent_canvas_;
  // Copying a label drawn once (per text, font, colour and scale) costs a frame less than
  // laying out its glyphs again.
  QImage label_image_;
  QString label_text_;
  QFont label_font_;
  QRgb label_pen_ = 0;
  qreal label_ratio_ = 0;
  // What a light frame needs of the face, taken by the last full paint: asking the widget for
  // its palette and text for every key and frame showed in profiles.
  QColor face_colour_;
  QPointF label_at_;
  bool label_shown_ = false;
  bool label_in_middle_ = true;
  bool look_taken_ = false;
};

}  // namespace qxr::app
