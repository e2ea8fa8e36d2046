#include "ui/skin_control.h"

#include <QColor>
#include <QDynamicPropertyChangeEvent>

namespace qxr::ui {

void SkinControl::handle_attribute_event(QObject* self, QEvent* event) {
  if (event->type() != QEvent::DynamicPropertyChange) return;
  const QByteArray name = static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName();
  if (name.startsWith("_q")) return;  // Qt's and our own bookkeeping
  const QVariant value = self->property(name.constData());
  if (value.isValid()) set_attribute(QString::fromUtf8(name).toLower(), value);
}

QString control_class(const QWidget* widget) {
  if (widget == nullptr) return {};
  if (const auto* control = dynamic_cast<const SkinControl*>(widget)) return control->className();
  return QString::fromLatin1(widget->metaObject()->className());
}

QList<QWidget*> children_of_class(const QWidget* container, const QString& name) {
  QList<QWidget*> result;
  if (container == nullptr) return result;
  const QList<QWidget*> all = container->findChildren<QWidget*>();
  for (QWidget* w : all) {
    if (control_class(w) == name) result.push_back(w);
  }
  return result;
}

QColor parse_skin_colour(const QString& text) {
  QString digits = text.trimmed();
  if (digits.startsWith(QLatin1Char('#'))) {
    digits.remove(0, 1);
  } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    digits.remove(0, 2);
  }
  if (digits.size() != 6 && digits.size() != 8) return {};
  bool ok = false;
  const uint value = digits.toUInt(&ok, 16);
  if (!ok) return {};
  if (digits.size() == 6) return QColor::fromRgb(value | 0xFF000000u);
  return QColor::fromRgba(value);
}

}  // namespace qxr::ui
