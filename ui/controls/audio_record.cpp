#include "ui/controls/audio_record.h"

#include <QPainter>

#include <algorithm>

using namespace qxr::ui;

CAudioRecordUI::CAudioRecordUI(QWidget* parent) : QWidget(parent) {}

bool CAudioRecordUI::event(QEvent* e) {
  handle_attribute_event(this, e);
  return QWidget::event(e);
}

bool CAudioRecordUI::set_attribute(const QString& name, const QVariant& value) {
  if (name != QLatin1String("bkcolor")) return false;
  const QColor c = parse_skin_colour(value.toString());
  if (c.isValid()) {
    background_ = c;
    update();
  }
  return true;
}

void CAudioRecordUI::set_samples(std::span<const int32_t> samples) {
  samples_.fill(0);
  std::copy_n(samples.begin(), std::min<size_t>(samples.size(), kSampleCount), samples_.begin());
  if (isVisible()) update();
}

int CAudioRecordUI::bar_height(int32_t sample, int height) {
  const int64_t h = int64_t{height} * std::clamp<int32_t>(sample, 0, kFullScale) / kFullScale;
  return static_cast<int>(h);
}

void CAudioRecordUI::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (background_.isValid()) p.fillRect(rect(), background_);
  const int h = height();
  for (int i = 0; i < kSampleCount && kBarSpacing * i < width(); ++i) {
    const int bar = bar_height(samples_[static_cast<size_t>(i)], h);
    if (bar > 0) p.fillRect(kBarSpacing * i, h - bar, 1, bar, Qt::black);
  }
}
