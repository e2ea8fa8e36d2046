#pragma once
// A colour picker of the program's own kind: anything with colorChanged(QColor).
#include <QColor>
#include <QWidget>

class ColourWidget : public QWidget {
  Q_OBJECT
 public:
  using QWidget::QWidget;
  void pick(const QColor& c) { emit colorChanged(c); }
 signals:
  void colorChanged(const QColor& colour);
};
