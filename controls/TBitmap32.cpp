#include "TBitmap32.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace {

QRgb ToRgb(TColor color) {
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace

void TBitmap32::SetSize(int32_t width, int32_t height) {
    if (width == Width() && height == Height() && !Image.isNull())
        return;
    Image = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
}

TColor TBitmap32::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return ~TColor(0);
    const QRgb rgb = reinterpret_cast<const QRgb*>(Image.constScanLine(y))[x];
    return QColorToColor(QColor(rgb));
}

void TBitmap32::SetPixel(int32_t x, int32_t y, TColor color) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return;
    reinterpret_cast<QRgb*>(Image.scanLine(y))[x] = ToRgb(color);
}

void TBitmap32::Plot(int32_t x, int32_t y, int32_t index) {
    if (PenStyle == TPenStyle::Dotted && (index / 3) % 2 != 0)
        return;
    SetPixel(x, y, PenColor);
}

void TBitmap32::MoveTo(int32_t x, int32_t y) {
    PenX = x;
    PenY = y;
}

void TBitmap32::LineTo(int32_t x, int32_t y) {
    // Bresenham from the pen position, stopping before the end point.
    const int64_t dx = std::llabs(int64_t(x) - PenX);
    const int64_t dy = -std::llabs(int64_t(y) - PenY);
    const int32_t sx = PenX < x ? 1 : -1;
    const int32_t sy = PenY < y ? 1 : -1;
    int64_t error = dx + dy;
    int32_t cx = PenX;
    int32_t cy = PenY;
    for (int32_t index = 0; cx != x || cy != y; ++index) {
        Plot(cx, cy, index);
        const int64_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            cx += sx;
        }
        if (twice <= dx) {
            error += dx;
            cy += sy;
        }
    }
    MoveTo(x, y);
}

void TBitmap32::Polyline(std::span<const QPoint> points) {
    if (points.empty())
        return;
    MoveTo(points[0].x(), points[0].y());
    for (size_t i = 1; i < points.size(); ++i)
        LineTo(points[i].x(), points[i].y());
}

void TBitmap32::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    if (right - left < 1 || bottom - top < 1)
        return;
    FillRect(left + 1, top + 1, right - 1, bottom - 1);
    const TPenStyle style = PenStyle;
    PenStyle = TPenStyle::Solid;
    for (int32_t x = left; x < right; ++x) {
        SetPixel(x, top, PenColor);
        SetPixel(x, bottom - 1, PenColor);
    }
    for (int32_t y = top; y < bottom; ++y) {
        SetPixel(left, y, PenColor);
        SetPixel(right - 1, y, PenColor);
    }
    PenStyle = style;
}

void TBitmap32::FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, Width());
    bottom = std::min(bottom, Height());
    const QRgb rgb = ToRgb(BrushColor);
    for (int32_t y = top; y < bottom; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(Image.scanLine(y));
        std::fill(row + left, row + std::max(left, right), rgb);
    }
}

void TBitmap32::TextOut(int32_t x, int32_t y, const std::string& text) {
    if (Image.isNull())
        return;
    QPainter painter(&Image);
    QFont font(QString::fromStdString(FontName));
    // Points at 96 pixels per inch, rounded the way the platform sizes its fonts.
    font.setPixelSize(std::max(1, (FontSize * 96 + 36) / 72));
    painter.setFont(font);
    painter.setPen(ColorToQColor(FontColor));
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(ColorToQColor(BrushColor));
    const QString line = QString::fromStdString(text);
    const QFontMetrics metrics(font);
    const QRect box(x, y, metrics.horizontalAdvance(line), metrics.height());
    painter.fillRect(box, ColorToQColor(BrushColor));
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, line);
}

void TBitmap32::CopyRect(const TBitmap32& source, int32_t left, int32_t top, int32_t right,
                         int32_t bottom) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min({right, Width(), source.Width()});
    bottom = std::min({bottom, Height(), source.Height()});
    if (right <= left)
        return;
    for (int32_t y = top; y < bottom; ++y) {
        const QRgb* from = reinterpret_cast<const QRgb*>(source.Image.constScanLine(y));
        QRgb* to = reinterpret_cast<QRgb*>(Image.scanLine(y));
        std::copy(from + left, from + right, to + left);
    }
}

void TBitmap32::Assign(const TBitmap32& source) {
    CopyRect(source, 0, 0, source.Width(), source.Height());
}
