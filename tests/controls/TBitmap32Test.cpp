// The layer canvas: lines without their end point, dotted lines, rectangles and copies.
#include "TBitmap32.h"

#include <gtest/gtest.h>

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
