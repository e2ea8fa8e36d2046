#pragma once
// A key (or LED) on a device picture: shows the key's light colour, its selection for the
// lighting editor and a mark when the key has a new function.
#include <QColor>
#include <QPushButton>

#include "ui/skin_control.h"

class CDeviceKeyButtonUI : public QPushButton, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  // The light image is drawn at full opacity; the light colour at most at this alpha, so the
  // key's label stays readable on a fully lit key.
  static constexpr int kLightImageFade = 255;
  static constexpr int kLightColourMaxAlpha = 200;

  explicit CDeviceKeyButtonUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("DeviceKeyButton"); }
  bool set_attribute(const QString& name, const QVariant& value) override;

  // The colour's alpha is the LED's brightness (0 = dark). Repaints only on a change.
  void set_light_colour(const QColor& colour);
  QColor light_colour() const { return light_colour_; }

  void set_selected(bool selected);
  bool selected() const { return selected_; }
  void set_light_overlay(bool on);
  bool light_overlay() const { return light_overlay_; }
  void set_keyset_image_hidden(bool hidden);
  bool keyset_image_hidden() const { return keyset_image_hidden_; }

  void set_light_image(const QString& image);
  const QString& light_image() const { return light_image_; }
  void set_keyset_image(const QString& image);
  const QString& keyset_image() const { return keyset_image_; }
  // Parsed from the skin; no drawing uses it yet.
  QColor gm_name_text_colour() const { return gm_name_text_colour_; }

 protected:
  // Every setter above ends here; a subclass painted by its container repaints there instead.
  virtual void look_changed();
  // The light colour's setter ends here, so a container can repaint less for it.
  virtual void light_changed() { look_changed(); }
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QColor light_colour_{0, 0, 0, 0};
  QString light_image_;
  QString keyset_image_;
  QColor gm_name_text_colour_;
  bool light_overlay_ = false;
  bool keyset_image_hidden_ = true;
  bool selected_ = false;
};
