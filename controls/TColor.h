#pragma once

#include <QColor>

#include <cstdint>

/// A colour as the program stores it: 0x00BBGGRR (red in the low byte, blue in the third).
using TColor = uint32_t;

/// The Qt colour of a stored colour; the top byte is ignored.
inline QColor ColorToQColor(TColor color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

/// The stored form of a Qt colour (alpha dropped).
inline TColor QColorToColor(const QColor& color) {
    return static_cast<TColor>(color.red()) | static_cast<TColor>(color.green()) << 8 |
           static_cast<TColor>(color.blue()) << 16;
}
