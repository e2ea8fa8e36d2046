#pragma once
// Internal: forwards a widget's colorChanged(QColor) as "colorchanged" from that widget.
#include <QColor>
#include <QObject>
#include <QWidget>

#include "ui/notification.h"
#include "ui/notify_wiring.h"

namespace qxr::ui {

class ColourRelay : public QObject {
  Q_OBJECT
 public:
  explicit ColourRelay(QWidget* source) : QObject(source), source_(source) {}

 public slots:
  void relay(const QColor& colour) {
    if (!notifications_silenced(source_)) send_notify(source_, notify_type::kColorChanged, colour.rgba());
  }

 private:
  QWidget* source_;
};

}  // namespace qxr::ui
