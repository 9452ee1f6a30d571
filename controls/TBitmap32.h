#pragma once

#include "TColor.h"

#include <QImage>

#include <cstdint>
#include <span>
#include <string>

/// An off-screen 32-bit picture with a small drawing canvas that follows the rules of the
/// platform's line drawing: a line from (x0, y0) to (x1, y1) leaves out its end point, rectangles
/// are given as left, top, right, bottom with right and bottom exclusive. The waveform view keeps
/// its layers in three of these. Main thread only; the picture is `Image` (QImage::Format_RGB32).
class TBitmap32 {
public:
    enum class TPenStyle { Solid, Dotted };

    TBitmap32() = default;

    /// New size; the contents are undefined until drawn. The picture starts on a page boundary
    /// with rows of 4 bytes a pixel.
    void SetSize(int32_t width, int32_t height);
    int32_t Width() const { return Image.width(); }
    int32_t Height() const { return Image.height(); }

    /// The colour at (x, y), 0x00BBGGRR; -1 (all bits) outside the picture.
    TColor Pixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, TColor color);

    void MoveTo(int32_t x, int32_t y);
    /// A line in the pen's colour and style from the pen position to (x, y), without that point;
    /// the pen position becomes (x, y). A dotted pen draws three pixels, leaves three, from the
    /// start of each line.
    void LineTo(int32_t x, int32_t y);
    /// Lines through the points in turn, the last point left out.
    void Polyline(std::span<const QPoint> points);
    /// The outline in the pen's colour, the inside filled with the brush's colour.
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom);
    /// Fills the rectangle with the brush's colour.
    void FillRect(int32_t left, int32_t top, int32_t right, int32_t bottom);
    /// Mixes the rectangle with `color`: each component becomes
    /// ((255 − alpha) × pixel + alpha × colour) div 255. Parts outside the picture are left out.
    void Tint(int32_t left, int32_t top, int32_t right, int32_t bottom, TColor color,
              uint8_t alpha);
    /// Text in the font, on the brush's colour, its top-left corner at (x, y).
    void TextOut(int32_t x, int32_t y, const std::string& text);
    /// Copies the rectangle (left, top, right, bottom) of `source` to the same place here; parts
    /// outside either picture are left out.
    void CopyRect(const TBitmap32& source, int32_t left, int32_t top, int32_t right,
                  int32_t bottom);
    /// Copies the whole of `source` (which must be of the same size) here.
    void Assign(const TBitmap32& source);

    QImage Image;
    TColor PenColor = 0;
    TPenStyle PenStyle = TPenStyle::Solid;
    TColor BrushColor = 0xFFFFFF;
    TColor FontColor = 0;
    std::string FontName = "Arial";
    int32_t FontSize = 8; ///< points at 96 pixels per inch

private:
    /// Whether the pen draws the point with that index along its line.
    bool Drawn(int64_t index) const;
    /// The parts of `LineTo` for a row, a column, a line at least as tall as wide and any other.
    void HorizontalLine(int32_t x);
    void VerticalLine(int32_t y);
    void SteepLine(int32_t x, int32_t y);
    void SlantedLine(int32_t x, int32_t y);

    int32_t PenX = 0;
    int32_t PenY = 0;
};
