#include "TBitmap32.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

constexpr size_t PageBytes = 4096;

QRgb ToRgb(TColor color) {
    return qRgb(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace

void TBitmap32::SetSize(int32_t width, int32_t height) {
    if (width == Width() && height == Height() && !Image.isNull())
        return;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == 0 || height == 0) {
        Image = QImage(width, height, QImage::Format_RGB32);
        return;
    }
    // Pictures start on a page boundary, so that a row of one lies at the same offset within a
    // page as the same row of another of its size: copies between them then run at full speed
    // (the processor's string copy slows down badly between rows at unrelated offsets).
    const size_t stride = size_t(width) * 4;
    const size_t bytes = (stride * size_t(height) + PageBytes - 1) / PageBytes * PageBytes;
    void* data = std::aligned_alloc(PageBytes, bytes);
    if (data == nullptr)
        throw std::bad_alloc();
    Image = QImage(
        static_cast<uchar*>(data), width, height, qsizetype(stride), QImage::Format_RGB32,
        [](void* block) { std::free(block); }, data);
}

TColor TBitmap32::Pixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return ~TColor(0);
    const QRgb rgb = reinterpret_cast<const QRgb*>(Image.constScanLine(y))[x];
    return TColor(qRed(rgb)) | TColor(qGreen(rgb)) << 8 | TColor(qBlue(rgb)) << 16;
}

void TBitmap32::SetPixel(int32_t x, int32_t y, TColor color) {
    if (x < 0 || y < 0 || x >= Width() || y >= Height())
        return;
    reinterpret_cast<QRgb*>(Image.scanLine(y))[x] = ToRgb(color);
}

void TBitmap32::MoveTo(int32_t x, int32_t y) {
    PenX = x;
    PenY = y;
}

bool TBitmap32::Drawn(int64_t index) const {
    return PenStyle == TPenStyle::Solid || (index / 3) % 2 == 0;
}

void TBitmap32::LineTo(int32_t x, int32_t y) {
    if (y == PenY && x != PenX)
        HorizontalLine(x);
    else if (x == PenX)
        VerticalLine(y);
    else if (std::llabs(int64_t(y) - PenY) >= std::llabs(int64_t(x) - PenX))
        SteepLine(x, y);
    else
        SlantedLine(x, y);
    MoveTo(x, y);
}

void TBitmap32::HorizontalLine(int32_t x) {
    if (PenY < 0 || PenY >= Height())
        return;
    // Points PenX, PenX ± 1, … up to x (left out), clipped; point n has pattern index n.
    const int64_t step = PenX < x ? 1 : -1;
    const int64_t count = (int64_t(x) - PenX) * step;
    const int64_t inside0 = step > 0 ? -int64_t(PenX) : int64_t(PenX) - (Width() - 1);
    const int64_t inside1 = step > 0 ? int64_t(Width()) - PenX : int64_t(PenX) + 1;
    const int64_t first = std::max<int64_t>(inside0, 0);
    const int64_t last = std::min(inside1, count);
    if (first >= last)
        return;
    QRgb* row = reinterpret_cast<QRgb*>(Image.scanLine(PenY));
    const QRgb rgb = ToRgb(PenColor);
    if (PenStyle == TPenStyle::Solid) {
        const int64_t a = PenX + first * step;
        const int64_t b = PenX + (last - 1) * step;
        std::fill(row + std::min(a, b), row + std::max(a, b) + 1, rgb);
        return;
    }
    for (int64_t n = first; n < last; ++n)
        if (Drawn(n))
            row[PenX + n * step] = rgb;
}

void TBitmap32::VerticalLine(int32_t y) {
    if (PenX < 0 || PenX >= Width() || y == PenY)
        return;
    const int64_t step = PenY < y ? 1 : -1;
    const int64_t count = (int64_t(y) - PenY) * step;
    const int64_t inside0 = step > 0 ? -int64_t(PenY) : int64_t(PenY) - (Height() - 1);
    const int64_t inside1 = step > 0 ? int64_t(Height()) - PenY : int64_t(PenY) + 1;
    const int64_t first = std::max<int64_t>(inside0, 0);
    const int64_t last = std::min(inside1, count);
    if (first >= last)
        return;
    const QRgb rgb = ToRgb(PenColor);
    const qsizetype stride = Image.bytesPerLine() * step;
    uchar* at = Image.bits() + (PenY + first * step) * Image.bytesPerLine() + 4 * PenX;
    const bool solid = PenStyle == TPenStyle::Solid;
    for (int64_t n = first; n < last; ++n, at += stride)
        if (solid || Drawn(n))
            *reinterpret_cast<QRgb*>(at) = rgb;
}

void TBitmap32::SteepLine(int32_t x, int32_t y) {
    // The Bresenham walk of `SlantedLine`, where every step of a line at least as tall as wide
    // moves one row: point n lies on row PenY ± n, and nothing past the picture's last row is
    // walked.
    const int64_t dx = std::llabs(int64_t(x) - PenX);
    const int64_t dy = -std::llabs(int64_t(y) - PenY);
    const int32_t sx = PenX < x ? 1 : -1;
    const int64_t sy = PenY < y ? 1 : -1;
    const int64_t inside0 = sy > 0 ? -int64_t(PenY) : int64_t(PenY) - (Height() - 1);
    const int64_t inside1 = sy > 0 ? int64_t(Height()) - PenY : int64_t(PenY) + 1;
    const int64_t last = std::min(inside1, -dy);
    if (Width() == 0 || std::max<int64_t>(inside0, 0) >= last)
        return;
    const QRgb rgb = ToRgb(PenColor);
    const uint32_t width = uint32_t(Width());
    uchar* bits = Image.bits();
    const qsizetype stride = Image.bytesPerLine();
    const bool solid = PenStyle == TPenStyle::Solid;
    int64_t error = dx + dy;
    int32_t cx = PenX;
    for (int64_t n = 0; n < last; ++n) {
        if (n >= inside0 && uint32_t(cx) < width && (solid || Drawn(n)))
            reinterpret_cast<QRgb*>(bits + (PenY + n * sy) * stride)[cx] = rgb;
        if (2 * error >= dy) {
            error += dy;
            cx += sx;
        }
        error += dx;
    }
}

void TBitmap32::SlantedLine(int32_t x, int32_t y) {
    // Bresenham from the pen position, stopping before the end point.
    const int64_t dx = std::llabs(int64_t(x) - PenX);
    const int64_t dy = -std::llabs(int64_t(y) - PenY);
    const int32_t sx = PenX < x ? 1 : -1;
    const int32_t sy = PenY < y ? 1 : -1;
    const QRgb rgb = ToRgb(PenColor);
    const int32_t width = Width();
    const int32_t height = Height();
    uchar* bits = height > 0 ? Image.bits() : nullptr;
    const qsizetype stride = Image.bytesPerLine();
    int64_t error = dx + dy;
    int32_t cx = PenX;
    int32_t cy = PenY;
    const bool solid = PenStyle == TPenStyle::Solid;
    for (int64_t index = 0; cx != x || cy != y; ++index) {
        if (uint32_t(cx) < uint32_t(width) && uint32_t(cy) < uint32_t(height) &&
            (solid || Drawn(index)))
            reinterpret_cast<QRgb*>(bits + cy * stride)[cx] = rgb;
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

void TBitmap32::Tint(int32_t left, int32_t top, int32_t right, int32_t bottom, TColor color,
                     uint8_t alpha) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, Width());
    bottom = std::min(bottom, Height());
    if (right <= left)
        return;
    // Per byte of a pixel in memory order (blue, green, red, unused): byte × mul + add, div 255.
    // The unused byte is held at 255 as every pixel of the picture has it.
    const QRgb rgb = ToRgb(color);
    uint16_t mul[16];
    uint16_t add[16];
    for (int i = 0; i < 16; ++i) {
        const bool unused = i % 4 == 3;
        mul[i] = unused ? 0 : uint16_t(255 - alpha);
        add[i] = unused ? 255 * 255 : uint16_t(alpha * ((rgb >> (8 * (i % 4))) & 0xFF));
    }
    const auto mix = [&](uint8_t* bytes, int i) {
        const uint16_t x = uint16_t(bytes[i] * mul[i] + add[i]);
        // x div 255, exact for every x up to 255 × 255.
        bytes[i] = uint8_t((x + 1 + (x >> 8)) >> 8);
    };
    for (int32_t y = top; y < bottom; ++y) {
        uint8_t* bytes = Image.scanLine(y) + 4 * left;
        int32_t x = left;
        for (; x + 4 <= right; x += 4, bytes += 16)
            for (int i = 0; i < 16; ++i)
                mix(bytes, i);
        for (; x < right; ++x, bytes += 4)
            for (int i = 0; i < 4; ++i)
                mix(bytes, i);
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
