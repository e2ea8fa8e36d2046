#pragma once
// Applies the interface DPI to widgets: sizes, positions, fonts, layout spacing and the
// application's style sheet are scaled from the values the skins were drawn with at 96 DPI.
#include <QWidget>

#include "ui/dpi.h"

namespace qxr::ui {

int interface_dpi();

// Accepts dpi (falling back to 96 with the window's line), then scales the style sheet and
// every registered window at once. Returns the DPI in force.
int set_interface_dpi(int dpi, DpiWindow window);

// Makes set_interface_dpi scale window (and its whole tree); applies the current DPI now.
void register_scaled_window(QWidget* window);

// Scales root and its tree to dpi. The first call records the 96-DPI sizes, so scaling again
// never accumulates rounding.
void apply_scale(QWidget* root, int dpi);

// Loads the skin's "style.qss" and sets it, scaled to the interface DPI, on the application.
// "skin:" urls in it point into the skin folder. False when the file cannot be read.
bool apply_style();
// The style sheet as loaded (96 DPI), empty before apply_style.
QString base_style_sheet();

}  // namespace qxr::ui
