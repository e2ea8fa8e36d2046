#pragma once
// The power panel of a device entry: battery level, charging state, the wireless mark and the
// phone on the mouse pad's charger. It shows the status bytes the device's status poll reads;
// it edits nothing.
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <vector>

#include "ui/skin_control.h"

class QAbstractButton;
class QLabel;
class QProgressBar;

class CMpDevicePowerUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  explicit CMpDevicePowerUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("MpDevicePower"); }
  bool set_attribute(const QString&, const QVariant&) override { return false; }
  bool loaded() const { return content_ != nullptr; }

  // Does nothing unless every control of the panel exists.
  void SetPowerStatus(const uint8_t* bytes, size_t length);
  void ShowPowerLayout(bool on);
  void SetPowerMode(int mode, int value);
  int power_mode() const { return mode_; }

 private:
  template <typename T>
  T* control(const char* name);

  QWidget* content_ = nullptr;
  int mode_ = 0;
  int value_ = 0;
  // What the controls show now, so that an unchanged poll reloads no images.
  std::vector<uint8_t> shown_status_;
  int shown_mode_ = -1;
};
