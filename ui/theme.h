#pragma once
// The few colours and lengths the controls paint themselves; everything else is in style.qss,
// whose accent and greys these repeat.
#include <QColor>

namespace qxr::ui::theme {

inline QColor accent() { return QColor(0xF0, 0x38, 0x4F); }
inline QColor accent_hover() { return QColor(0xFF, 0x54, 0x68); }
inline QColor track() { return QColor(0x30, 0x32, 0x3A); }
inline QColor surface() { return QColor(0x1C, 0x1D, 0x22); }
inline QColor text() { return QColor(0xE8, 0xE9, 0xED); }

// Key buttons: the lit area and the selection frame sit this far inside the key.
inline constexpr qreal kKeyInset = 2.0;
inline constexpr qreal kKeyRadius = 4.0;
inline constexpr qreal kSelectionPen = 2.0;
// The rubber band: frame width and fill alpha.
inline constexpr qreal kBandPen = 1.0;
inline constexpr int kBandFillAlpha = 48;

}  // namespace qxr::ui::theme
