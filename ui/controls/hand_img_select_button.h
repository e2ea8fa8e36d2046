#pragma once
// A picture larger than its button: the button shows a crop that the user pans by dragging.
#include <QPoint>
#include <QPushButton>
#include <QSize>

#include <optional>

#include "ui/skin_control.h"

class CHandImgSelectButtonUI : public QPushButton, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  explicit CHandImgSelectButtonUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("HandImgSelectButton"); }
  // "handimage" (a file below the skin folder or an absolute path), "cursor".
  bool set_attribute(const QString& name, const QVariant& value) override;

  void set_hand_image(const QString& path);
  const QString& image_path() const { return image_path_; }
  QSize image_size() const { return image_size_; }
  QPoint pan_offset() const { return offset_; }
  // What is drawn: "file='…' source='l,t,r,b'" while the picture is larger than the button,
  // "file='…'" otherwise.
  const QString& current_image() const { return current_; }

  // The offset after the mouse moved by delta along one axis: the crop moves against the
  // mouse and stays inside the picture.
  static int pan(int offset, int delta, int view, int image);
  // The system cursor for a skin cursor name; nothing for an unknown name.
  static std::optional<Qt::CursorShape> cursor_for(const QString& name);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void rebuild();

  QString image_path_;
  QString current_;
  QSize image_size_;
  QPoint offset_;
  QPoint last_mouse_;
  bool dragging_ = false;
};
