#pragma once
// A device list entry: the button that selects the device's page, the mark for synchronised
// lighting, the kind's images, and the timers that drive the connected device. The timers
// only trigger the device's operations; the work runs on the device's own thread.
#include <QPointer>
#include <QString>
#include <QWidget>

#include "devices/frame_repeat_filter.h"
#include "ui/control_timer.h"
#include "ui/skin_control.h"

class QAbstractButton;

namespace qxr::app {
class DevicePageWidget;
}

class CDeviceOptionUI : public QWidget, public qxr::ui::SkinControl, public qxr::ui::ControlTimerTarget {
  Q_OBJECT
 public:
  static constexpr int kLightFrameTimer = 1000;
  static constexpr int kConnectTimer = 1001;
  static constexpr int kRefreshTimer = 1002;
  static constexpr int kReservedTimer1 = 1003;
  static constexpr int kReservedTimer2 = 1004;
  static constexpr int kStatusTimer = 1005;
  // The light thread sends each frame as it makes it; this timer sends the first one, one owed
  // after a failure or a page shown again, and a still frame again (its refresh, within 2 s).
  static constexpr int kLightRefreshMs = static_cast<int>(qxr::devices::kStillFrameCheckMs);
  static constexpr int kFirstFrameMs = 5;
  static constexpr int kConnectDelayMs = 500;
  static constexpr int kStatusPollMs = 5000;

  explicit CDeviceOptionUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("DeviceOption"); }
  bool set_attribute(const QString&, const QVariant&) override { return false; }
  bool loaded() const { return select_ != nullptr; }

  void SetDevicePage(qxr::app::DevicePageWidget* page);
  qxr::app::DevicePageWidget* page() const;
  // Images and name by kind; the mouse pad's variant picks its picture.
  void SetKind(int kind, int variant);
  int kind() const { return kind_; }
  // The tab layout and page the entry selects, and the second control (shown on that page,
  // hidden for a negative index).
  void SetIndices(const QString& tab_layout, int tab_index, const QString& second, int second_index);
  const QString& tab_layout() const { return tab_layout_; }
  int tab_index() const { return tab_index_; }
  const QString& second_control() const { return second_; }
  int second_index() const { return second_index_; }

  // The entry stands for a connected device (its own flag: the window may be hidden).
  void SetShown(bool shown);
  bool IsShown() const { return shown_; }
  void SetSelected(bool selected);
  bool IsSelected() const;
  void SetSynchro(bool marked);
  bool IsSynchro() const;
  QAbstractButton* select_button() const { return select_; }
  QAbstractButton* synchro_button() const { return synchro_; }

  // 500 ms after a connection: connect the device, then start its light frames and status.
  // waited_ms of them have passed already.
  void StartConnectTimer(int waited_ms = 0);
  void StartRefreshTimer(int delay_ms);
  void StopTimers();
  // The program drives the lighting again: the light frames go on (they stop by themselves
  // while the device runs its own).
  void ResumeLightFrames();
  void on_control_timer(int id) override;

 private:
  void update_images();
  bool channel_open() const;

  QWidget* content_ = nullptr;
  QAbstractButton* select_ = nullptr;
  QAbstractButton* synchro_ = nullptr;
  QPointer<qxr::app::DevicePageWidget> page_;
  int kind_ = 0;
  int variant_ = 0;
  QString images_[4];
  QString tab_layout_;
  QString second_;
  int tab_index_ = 1;
  int second_index_ = -1;
  bool shown_ = false;
  bool frame_period_set_ = false;
};
