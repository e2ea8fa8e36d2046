#pragma once
// A picture button (a skin or a profile picture) with a delete mark that appears in its
// bottom-right corner while the mouse is over it.
#include <QPushButton>

#include "ui/skin_control.h"

class CHandImgButtonUI : public QPushButton, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  // The delete mark at 96 DPI: a square of kMarkSize whose left edge lies kMarkRight pixels and
  // whose top edge kMarkBottom pixels from the button's right and bottom edges.
  static constexpr int kMarkSize = 20;
  static constexpr int kMarkRight = 30;
  static constexpr int kMarkBottom = 29;

  explicit CHandImgButtonUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("HandImgButton"); }
  // "handimage", "deletenormalimage", "deletehotimage".
  bool set_attribute(const QString& name, const QVariant& value) override;
  bool notifies_hover() const override { return true; }

  void set_hand_image(const QString& image);
  const QString& hand_image() const { return hand_image_; }
  void set_delete_hidden(bool hidden);
  bool delete_hidden() const { return delete_hidden_; }
  bool hovered() const { return hovered_; }

  static QRect delete_mark_rect(QSize button, int dpi);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  bool hitButton(const QPoint& pos) const override;

 private:
  bool mark_active() const { return !delete_hidden_; }
  bool in_mark(const QPoint& pos) const;

  QString hand_image_;
  QString delete_normal_image_;
  QString delete_hot_image_;
  bool delete_hidden_ = true;
  bool hovered_ = false;
  bool mark_hot_ = false;
  bool mark_pressed_ = false;
};
