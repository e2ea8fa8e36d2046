#pragma once
// A gun's picture on the recoil panel: the path its 30 bullets pull the pointer along, each
// bullet a dot, the bullet being edited marked. Left and up as the direction options say.
#include <QWidget>

#include <vector>

#include "profile/macro_files.h"

class RecoilPatternView : public QWidget {
  Q_OBJECT
 public:
  static constexpr const char* kClassName = "RecoilPatternView";

  explicit RecoilPatternView(QWidget* parent = nullptr);

  void set_bullets(std::vector<qxr::RecoilBullet> bullets);
  // -1: none marked.
  void set_current(int bullet);
  int current() const { return current_; }
  const std::vector<qxr::RecoilBullet>& bullets() const { return bullets_; }

  QSize sizeHint() const override { return {180, 180}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<qxr::RecoilBullet> bullets_;
  int current_ = -1;
};
