#pragma once
// The key buttons and LED indicators of the device pictures, painted the cheap way. A keyboard
// page repaints up to 170 of them 20 times a second; through the style sheet each paint costs
// tens of microseconds (palette set-up, borders, text layout). This button keeps the toolkit's
// behaviour and look parameters (the style sheet's background and text colour reach it through
// the palette, its font through the font) and paints with flat fills and a cached label. The
// light and key-set images still take the toolkit's full paint.
#include <QStaticText>

#include "ui/controls/device_key_button.h"

namespace qxr::app {

class FastKeyButton : public CDeviceKeyButtonUI {
  Q_OBJECT
 public:
  explicit FastKeyButton(QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void refresh_look();

  QStaticText label_;
  QString label_text_;
  QFont label_font_;
};

}  // namespace qxr::app
