#pragma once
// The level display of the music style window: 500 samples, each a one-pixel bar at every
// second pixel from the left, rising from the bottom to height × sample / 8192, black on the
// control's background colour. Repaints only when new samples arrive while it is shown.
#include <QColor>
#include <QWidget>

#include <array>
#include <cstdint>
#include <span>

#include "ui/skin_control.h"

class CAudioRecordUI : public QWidget, public qxr::ui::SkinControl {
  Q_OBJECT
 public:
  static constexpr int kSampleCount = 500;
  static constexpr int kFullScale = 8192;
  static constexpr int kBarSpacing = 2;

  explicit CAudioRecordUI(QWidget* parent = nullptr);

  QString className() const override { return QStringLiteral("AudioRecord"); }
  // "bkcolor".
  bool set_attribute(const QString& name, const QVariant& value) override;

  // Takes up to kSampleCount samples; missing ones read 0.
  void set_samples(std::span<const int32_t> samples);
  const std::array<int32_t, kSampleCount>& samples() const { return samples_; }
  // The bar of sample i in a control of this height: its height in pixels (0 for none).
  static int bar_height(int32_t sample, int height);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  std::array<int32_t, kSampleCount> samples_{};
  QColor background_;
};
