#pragma once
// What the program's own controls add to a plain widget: the class name the pages ask for
// ("DeviceKeyButton", "SelectPanel", ...) and skin attributes. Skins set attributes as dynamic
// properties; names are matched without regard to case, and an attribute a control does not
// know stays an ordinary dynamic property.
#include <QEvent>
#include <QString>
#include <QVariant>
#include <QWidget>

namespace qxr::ui {

class SkinControl {
 public:
  virtual ~SkinControl() = default;
  virtual QString className() const = 0;
  // name is lower case; returns true when the control took the attribute.
  virtual bool set_attribute(const QString& name, const QVariant& value) = 0;
  // True for controls that send "msenter"/"msleave" themselves.
  virtual bool notifies_hover() const { return false; }

 protected:
  // Call from the widget's event(); applies a dynamic property that was just set.
  void handle_attribute_event(QObject* self, QEvent* event);
};

// The class name a page sees: the control's own for ours, otherwise the Qt class name.
QString control_class(const QWidget* widget);

// Every descendant of container whose class name is name, in creation order.
QList<QWidget*> children_of_class(const QWidget* container, const QString& name);

// Colour attributes: "#RRGGBB", "#AARRGGBB", "0xAARRGGBB" or bare hexadecimal digits
// (a leading '#' is skipped, as the skins write them). Invalid text gives an invalid QColor.
QColor parse_skin_colour(const QString& text);

}  // namespace qxr::ui
