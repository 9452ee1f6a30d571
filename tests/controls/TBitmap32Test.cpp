// The layer canvas: lines without their end point, dotted lines, rectangles and copies.
#include "TBitmap32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

namespace {

TBitmap32 Blank() {
    TBitmap32 bitmap;
    bitmap.SetSize(20, 10);
    bitmap.BrushColor = 0x000000;
    bitmap.FillRect(0, 0, 20, 10);
    bitmap.PenColor = 0x0000FF;
    return bitmap;
}

int Count(const TBitmap32& bitmap, TColor color) {
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            count += bitmap.Pixel(x, y) == color;
    return count;
}

} // namespace

TEST(TBitmap32Test, LinesLeaveOutTheirEndPoint) {
    TBitmap32 bitmap = Blank();
    bitmap.MoveTo(2, 3);
    bitmap.LineTo(7, 3);
    EXPECT_EQ(Count(bitmap, 0x0000FF), 5);
    EXPECT_EQ(bitmap.Pixel(2, 3), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(6, 3), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(7, 3), 0u);
    bitmap.LineTo(7, 3); // zero length: nothing
    EXPECT_EQ(Count(bitmap, 0x0000FF), 5);
    bitmap.LineTo(7, 0); // upwards from the last end point, which it now draws
    EXPECT_EQ(bitmap.Pixel(7, 3), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(7, 1), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(7, 0), 0u);
}

TEST(TBitmap32Test, DottedLinesDrawThreeAndLeaveThree) {
    TBitmap32 bitmap = Blank();
    bitmap.PenStyle = TBitmap32::TPenStyle::Dotted;
    bitmap.MoveTo(0, 0);
    bitmap.LineTo(20, 0);
    for (int x = 0; x < 20; ++x)
        EXPECT_EQ(bitmap.Pixel(x, 0) == 0x0000FFu, (x / 3) % 2 == 0) << x;
}

TEST(TBitmap32Test, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    TBitmap32 bitmap = Blank();
    bitmap.BrushColor = 0x00FF00;
    bitmap.Rectangle(2, 2, 7, 7);
    EXPECT_EQ(Count(bitmap, 0x0000FF), 16); // the 5 x 5 outline
    EXPECT_EQ(Count(bitmap, 0x00FF00), 9);  // the 3 x 3 inside
    EXPECT_EQ(bitmap.Pixel(6, 6), 0x0000FFu);
    EXPECT_EQ(bitmap.Pixel(7, 7), 0u);
}

TEST(TBitmap32Test, CopyRectClipsToBothPictures) {
    TBitmap32 source = Blank();
    source.BrushColor = 0xABCDEF;
    source.FillRect(0, 0, 20, 10);
    TBitmap32 target;
    target.SetSize(10, 10);
    target.BrushColor = 0;
    target.FillRect(0, 0, 10, 10);
    target.CopyRect(source, -5, 2, 30, 4);
    EXPECT_EQ(Count(target, 0xABCDEF), 20);
    EXPECT_EQ(target.Pixel(9, 3), 0xABCDEFu);
    EXPECT_EQ(target.Pixel(9, 4), 0u);
    EXPECT_EQ(target.Pixel(-1, 0), ~TColor(0));
}

namespace {

/// The plain line of the canvas's rules, point by point: Bresenham from (x0, y0), the end point
/// left out, each point inside the picture set unless a dotted pen skips its index.
void ModelLine(std::vector<TColor>& pixels, int width, int height, int x0, int y0, int x1, int y1,
               TColor color, bool dotted) {
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int sx = x0 < x1 ? 1 : -1;
    const int sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (int index = 0; x0 != x1 || y0 != y1; ++index) {
        if (x0 >= 0 && y0 >= 0 && x0 < width && y0 < height && !(dotted && (index / 3) % 2 != 0))
            pixels[size_t(y0 * width + x0)] = color;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += sx;
        }
        if (twice <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

} // namespace

TEST(TBitmap32Test, LinesOfEveryDirectionMatchThePlainPointByPointLine) {
    constexpr int Width = 40;
    constexpr int Height = 30;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> xs(-25, 65);
    std::uniform_int_distribution<int> ys(-25, 55);
    TBitmap32 bitmap;
    bitmap.SetSize(Width, Height);
    bitmap.BrushColor = 0;
    bitmap.FillRect(0, 0, Width, Height);
    std::vector<TColor> model(Width * Height, 0);
    for (int n = 0; n < 3000; ++n) {
        int x0 = xs(random), y0 = ys(random), x1 = xs(random), y1 = ys(random);
        // Rows and columns (the common case of the view) as often as slanted lines.
        if (n % 3 == 0)
            y1 = y0;
        else if (n % 3 == 1)
            x1 = x0;
        const bool dotted = n % 2 == 0;
        const TColor color = TColor(n + 1) & 0xFFFFFF;
        bitmap.PenStyle = dotted ? TBitmap32::TPenStyle::Dotted : TBitmap32::TPenStyle::Solid;
        bitmap.PenColor = color;
        bitmap.MoveTo(x0, y0);
        bitmap.LineTo(x1, y1);
        ModelLine(model, Width, Height, x0, y0, x1, y1, color, dotted);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                ASSERT_EQ(bitmap.Pixel(x, y), model[size_t(y * Width + x)])
                    << "line " << n << " (" << x0 << "," << y0 << ")-(" << x1 << "," << y1
                    << ") at " << x << "," << y;
    }
}

TEST(TBitmap32Test, TintMixesEveryComponentValueLikeThePlainFormula) {
    // Row r, column x: red x, green 255 − x, blue (x × 7 + r) mod 256.
    TBitmap32 bitmap;
    bitmap.SetSize(256, 4);
    const auto original = [](int x, int y) {
        return TColor(x) | TColor(255 - x) << 8 | TColor((x * 7 + y) % 256) << 16;
    };
    const auto mix = [](TColor pixel, TColor color, int alpha, int shift) {
        const uint32_t p = (pixel >> shift) & 0xFF;
        const uint32_t c = (color >> shift) & 0xFF;
        return (((255u - alpha) * p + alpha * c) / 255u) << shift;
    };
    for (const auto& [color, alpha] : {std::pair<TColor, int>{0x00FFFF, 100},
                                       {0x123456, 1},
                                       {0xFFFFFF, 255},
                                       {0x808080, 0},
                                       {0x0000FF, 254}}) {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 256; ++x)
                bitmap.SetPixel(x, y, original(x, y));
        // Left of the picture and one row below it: those parts are left out.
        bitmap.Tint(-3, 1, 253, 5, color, uint8_t(alpha));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 256; ++x) {
                const TColor pixel = original(x, y);
                const TColor expected = y >= 1 && x < 253 ? mix(pixel, color, alpha, 0) |
                                                                mix(pixel, color, alpha, 8) |
                                                                mix(pixel, color, alpha, 16)
                                                          : pixel;
                ASSERT_EQ(bitmap.Pixel(x, y), expected) << x << "," << y << " alpha " << alpha;
                ASSERT_EQ(qAlpha(bitmap.Image.pixel(x, y)), 255) << x << "," << y;
            }
    }
}

TEST(TBitmap32Test, PicturesStartOnAPageBoundaryWithRowsOfFourBytesAPixel) {
    TBitmap32 a, b;
    a.SetSize(1920, 1000);
    b.SetSize(333, 7);
    for (const TBitmap32* bitmap : {&a, &b}) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(bitmap->Image.constBits()) % 4096, 0u);
        EXPECT_EQ(bitmap->Image.bytesPerLine(), 4 * bitmap->Width());
        EXPECT_EQ(bitmap->Image.format(), QImage::Format_RGB32);
    }
    // A copy of the picture keeps its pixels after the original is resized away.
    a.SetPixel(5, 6, 0x123456);
    const QImage kept = a.Image;
    a.SetSize(10, 10);
    EXPECT_EQ(kept.pixel(5, 6), qRgb(0x56, 0x34, 0x12));
    TBitmap32 empty;
    empty.SetSize(0, 5);
    EXPECT_EQ(empty.Width(), 0);
    EXPECT_TRUE(empty.Image.isNull());
}
