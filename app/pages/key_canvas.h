#pragma once
// The container of a device picture's key buttons ("keyboard_device_key_light", and the mouse's,
// pad's and headset's pictures with their lights). It paints its
// FastKeyButton children itself, all changed faces of a frame in one paint, instead of the
// toolkit painting each button as a widget of its own. It is opaque, so a frame does not
// repaint the window behind it: where its rounded case leaves a corner free it paints the
// backdrop itself, in the colour of the nearest opaque ancestor.
//
// A light frame changes only the middles of the faces. Its paint fills just the middles that
// changed and keeps the case, the rims and the labels' overhang from the paint before, which
// the window's backing store still holds. It falls back to repainting all of the changed area
// whenever those pixels may not be the canvas's own: another change came in the same pass, the
// toolkit asked for more, or a widget that the canvas does not paint lies over the area.
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

#include <vector>

namespace qxr::app {

class FastKeyButton;

class KeyCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit KeyCanvas(QWidget* parent = nullptr);

  // A face in rect (canvas coordinates) changed. The changes of one pass of the event loop
  // are painted together as one rectangle: the toolkit fills and clips a rectangle far faster
  // than a region of many keys, even when that repaints a few unchanged faces in between.
  void face_changed(const QRect& rect);
  // Only key's light colour changed.
  void light_changed(FastKeyButton& key);
  // A key came or went, was shown, hidden, moved or restacked, or changed who paints it or
  // how it looks.
  void faces_changed();

  // A picture drawn over the case, scaled to the canvas (the skin's "picture").
  void set_picture(const QPixmap& picture);

  // Faces painted by the last paint, and whether it was a light frame's (for tests and the
  // frame-cost benchmark).
  int last_paint_faces() const { return last_paint_faces_; }
  bool last_paint_light_only() const { return last_paint_light_only_; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void post_flush();
  void flush_changes();
  QColor backdrop() const;
  // The picture without its keys, drawn again only when the canvas's size or look changed:
  // stroking the rounded case anew for every frame cost more than all its faces.
  const QImage& case_image(qreal ratio);
  void collect_faces();
  // Whether a widget stacked above the canvas covers part of area (canvas coordinates).
  bool covered(const QRect& area) const;
  bool light_only_paint(const QRegion& dirty);
  // What to ask the toolkit to repaint for the light changes of this pass.
  QRegion light_request() const;

  QRect changed_;
  QRect lit_;
  std::vector<FastKeyButton*> lit_keys_;
  bool flush_posted_ = false;
  // What the last flush asked the toolkit to repaint for light changes alone, and whose.
  QRegion lit_request_;
  std::vector<FastKeyButton*> lit_request_keys_;
  int last_paint_faces_ = 0;
  bool last_paint_light_only_ = false;

  QPixmap picture_;
  QImage case_image_;
  QRgb case_backdrop_ = 0;
  bool case_stale_ = true;

  // The faces the canvas paints, in stacking order, so a frame neither walks nor casts every
  // child object.
  std::vector<FastKeyButton*> faces_;
  // Every child is a face with an opaque fill: a light frame may keep the rims.
  bool faces_opaque_ = false;
  bool faces_stale_ = true;
};

}  // namespace qxr::app
