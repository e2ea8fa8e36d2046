#pragma once
// The program's own additions to the toolkit's style sheet ("app.qss" of the skin folder):
// device pages, list entries, key faces. Both sheets are scaled to the interface DPI together.
#include <QString>

#include "ui/dpi.h"

namespace qxr::app {

inline constexpr char kAppStyleFile[] = "app.qss";
// The base font of the toolkit's sheet (style.qss), for loading it ahead of the first picture.
inline constexpr const char* kSheetFaces[] = {"Noto Sans", "DejaVu Sans", "Noto Sans CJK SC", "WenQuanYi Micro Hei"};
inline constexpr int kSheetFontPx = 13;

// Loads the toolkit's sheet and ours and sets both. False when ours cannot be read.
bool apply_app_style();
// The face the interface font table is rebuilt with (a language's font); empty for the
// style sheet's own faces. Takes effect at once.
void set_interface_font(const QString& face);
QString interface_font();
// Sets the interface DPI (every registered window is rescaled) and re-applies both sheets.
int set_app_interface_dpi(int dpi, ui::DpiWindow window);

}  // namespace qxr::app
