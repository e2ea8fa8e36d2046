#pragma once
// The container of a device picture's key buttons ("keyboard_device_key_light"). It paints its
// FastKeyButton children itself, all changed faces of a frame in one paint, instead of the
// toolkit painting each button as a widget of its own. It is opaque, so a frame does not
// repaint the window behind it: where its rounded case leaves a corner free it paints the
// backdrop itself, in the colour of the nearest opaque ancestor.
#include <QWidget>

namespace qxr::app {

class KeyCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit KeyCanvas(QWidget* parent = nullptr);

  // A face in rect (canvas coordinates) changed. The changes of one pass of the event loop
  // are painted together as one rectangle: the toolkit fills and clips a rectangle far faster
  // than a region of many keys, even when that repaints a few unchanged faces in between.
  void face_changed(const QRect& rect);

  // Faces painted by the last paint (for tests and the frame-cost benchmark).
  int last_paint_faces() const { return last_paint_faces_; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void flush_changes();
  QColor backdrop() const;

  QRect changed_;
  bool flush_posted_ = false;
  int last_paint_faces_ = 0;
};

}  // namespace qxr::app
