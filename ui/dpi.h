#pragma once
// Interface scale. Qt already maps logical pixels to the screen; on top of that every window
// takes one of the accepted interface DPI values, 96 being the size the skins are drawn at.
#include <QString>

#include <array>

namespace qxr::ui {

inline constexpr int kDefaultDpi = 96;
inline constexpr std::array<int, 7> kAcceptedDpis{48, 72, 96, 120, 144, 168, 192};

// The window whose DPI is set decides the line written when a value is refused.
enum class DpiWindow { Msg, Main, Set, Llet };

bool dpi_accepted(int dpi);
// dpi itself when accepted; otherwise kDefaultDpi, and the window's line
// ("MSG_WND DPI SET ERROR", ...) goes to the debug output.
int accept_dpi(int dpi, DpiWindow window);
const char* dpi_error_line(DpiWindow window);

// A length drawn at 96 DPI, at dpi (rounded to the nearest pixel, never 0 for a non-zero length).
int scale_px(int px, int dpi);
// Every "<number>px" of a style sheet scaled to dpi.
QString scale_style_sheet(const QString& style_sheet, int dpi);

}  // namespace qxr::ui
