#pragma once
// Attributes of the skins that the toolkit leaves to the program: a label or key canvas with the
// attribute "picture" shows that file of the skin folder.
#include <QString>
#include <QWidget>

namespace qxr::app {

inline constexpr char kPictureAttribute[] = "picture";
// A widget with the attribute "mousethrough" lets clicks through to what lies under it.
inline constexpr char kMouseThroughAttribute[] = "mousethrough";

// The program's logo (window and tray icon).
inline constexpr char kLogoImage[] = "images/logo.svg";
// The picture of the notice shown without devices (app.qss).
inline constexpr char kNoDevicePicture[] = "images/device/no_device.png";

// Applies both attributes below root.
void apply_pictures(QWidget* root);
// The pixmap of a file below the skin folder, or of an image description ("file='…'").
QString skin_image_path(const QString& file_or_description);

}  // namespace qxr::app
