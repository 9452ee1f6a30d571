#include "TVUMeter.h"

#include "AlphaBlend.h"

#include <QPainter>

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t MaxChannels = 9;
constexpr int32_t FullScale = 128;
constexpr int32_t TrailWeight = 6;
constexpr int32_t TrailShift = 2;

QImage NewBitmap(QSize size) {
    if (size.isEmpty())
        return {};
    QImage bitmap(size, QImage::Format_BGR888);
    std::memset(bitmap.bits(), 0, static_cast<size_t>(bitmap.sizeInBytes()));
    return bitmap;
}

// Fills columns left … right − 1 and rows top … bottom − 1 with a 0x00BBGGRR colour, clipped
// to the bitmap; a rectangle whose right (bottom) edge is not past its left (top) edge is empty.
void FillRectangle(QImage& bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom,
                   uint32_t color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, bitmap.width());
    bottom = std::min(bottom, bitmap.height());
    if (right <= left || bottom <= top)
        return;
    const uint8_t pixel[3] = {static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8),
                              static_cast<uint8_t>(color)};
    for (int32_t y = top; y < bottom; ++y) {
        uint8_t* p = bitmap.scanLine(y) + 3 * left;
        for (int32_t x = left; x < right; ++x, p += 3)
            std::memcpy(p, pixel, 3);
    }
}

// Copies `source` onto `target` (same size) moved `shift` pixels left; the rightmost `shift`
// columns of `target` keep what they held.
void DrawShiftedLeft(QImage& target, const QImage& source, int32_t shift) {
    const int32_t columns = target.width() - shift;
    if (columns <= 0)
        return;
    for (int32_t y = 0; y < target.height(); ++y)
        std::memmove(target.scanLine(y), source.constScanLine(y) + 3 * shift,
                     static_cast<size_t>(3 * columns));
}

} // namespace

TVUMeter::TVUMeter(QWidget* AOwner)
    : QWidget(AOwner) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(127, 38);
    SizeBitmaps();
    Clear();
}

void TVUMeter::SetLevels(TLevels levels, uint8_t count) {
    if (isHidden() || count == 0)
        return;
    count = static_cast<uint8_t>(std::min<int32_t>(count, MaxChannels));
    SizeBitmaps();
    FillRectangle(Frame, 0, 0, width(), height(), backcolor);
    Levels.fill(0);
    ChannelCount = count;
    std::copy_n(levels.begin(), count, Levels.begin());
    const int32_t laneHeight = (height() - 1) / count;
    DrawBars(laneHeight);
    if (ShowPeaks)
        DrawPeaks(laneHeight);
    if (TrailMode)
        ShowTrail();
    FramePending = true;
    update();
}

void TVUMeter::Reset() {
    Clear();
    Bars.fill(0);
    Levels.fill(0);
    ResetPeaks();
    Paint();
}

void TVUMeter::ResetPeaks() {
    constexpr size_t entries = 127;
    std::fill_n(Bars.begin(), entries, 0);
    std::fill_n(Peaks.begin(), entries, 0);
    std::fill_n(PeakAges.begin(), entries, 0);
}

void TVUMeter::Clear() {
    for (QImage* bitmap : {&Frame, &Composite, &Trail})
        FillRectangle(*bitmap, 0, 0, width(), height(), backcolor);
}

void TVUMeter::Paint() {
    FramePending = false;
    SizeBitmaps();
    Clear();
    update();
}

void TVUMeter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (FramePending) {
        FramePending = false;
        painter.drawImage(0, 0, TrailMode ? Composite : Frame);
        return;
    }
    SizeBitmaps();
    Clear();
    painter.drawImage(0, 0, Composite);
}

void TVUMeter::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SizeBitmaps();
    ResetPeaks();
    FramePending = false;
}

void TVUMeter::SizeBitmaps() {
    for (QImage* bitmap : {&Frame, &Trail, &Composite})
        if (bitmap->size() != size() || bitmap->isNull())
            *bitmap = NewBitmap(size());
}

int32_t TVUMeter::BarLength(int16_t level) const {
    return std::clamp(level * width() / FullScale, 0, width());
}

void TVUMeter::DrawBars(int32_t laneHeight) {
    for (int32_t i = 0; i < ChannelCount; ++i) {
        const int32_t length = BarLength(Levels[i]);
        if (length > Bars[i])
            Bars[i] = length;
        else
            Bars[i] = Bars[i] >= BarDecay ? Bars[i] - BarDecay : 0;
        FillRectangle(Frame, 1, i * laneHeight + 1, Bars[i], i * laneHeight + laneHeight,
                      forecolor);
    }
}

void TVUMeter::DrawPeaks(int32_t laneHeight) {
    for (int32_t i = 0; i < ChannelCount; ++i) {
        const int32_t length = BarLength(Levels[i]);
        if (length >= Peaks[i]) {
            Peaks[i] = length;
            PeakAges[i] = 0;
        }
        if (PeakAges[i] > PeakHold)
            Peaks[i] -= PeakFall;
        if (Peaks[i] > 0)
            FillRectangle(Frame, Peaks[i] - 2, i * laneHeight + 1, Peaks[i],
                          i * laneHeight + laneHeight, forecolor);
        PeakAges[i] += 1;
    }
}

// The new frame is mixed into the fading trail, shown, and becomes the next trail moved left.
void TVUMeter::ShowTrail() {
    BlendBitmaps(Trail, Frame, Composite, TrailWeight);
    DrawShiftedLeft(Trail, Composite, TrailShift);
}
