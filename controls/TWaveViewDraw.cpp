// The waveform view's drawing: the full redraw through the three layers, the ruler, the channel
// grid, the waveform from samples or from the peak index, the selection tint and the cursor line.
#include "AppServices.h"
#include "TLargeFile.h"
#include "TRulerScale.h"
#include "TWaveColumn.h"
#include "TWaveView.h"
#include "Twavefile.h"
#include "ViewColors.h"
#include "ViewMath.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

/// The wave area of that width and height holds at least one pixel.
bool HasWaveArea(int32_t wavewidth, int32_t waveheight) {
    return wavewidth > 0 && waveheight > 0;
}

} // namespace

void TWaveView::Repaint() {
    update();
    const uint32_t frames = DocumentFrames();
    if (frames < viewstart || frames < viewend) {
        viewstart = viewend = frames;
        visible = 0;
    }
    if (cursor > frames)
        SetCursorFrame(frames);
    if (visible == 0 && frames > 0) {
        viewstart = 0;
        viewend = visible = frames;
    }
    wavewidth = width();
    waveheight = height() - RulerHeight;
    ResizeLayers();
    // Without a wave area there is nothing to draw, and no pixel arithmetic to overflow.
    if (!HasWaveArea(wavewidth, waveheight)) {
        drawncursorx = NoCursorLine;
        basekept = false;
        update();
        return;
    }

    // The gradient covers every row below the ruler.
    baselayer.BrushColor = ViewScaleColor;
    baselayer.FillRect(0, 0, width(), RulerHeight);
    DrawGradientRows(baselayer, 0, RulerHeight, wavewidth, height(), GradientTopColor,
                     GradientBottomColor);
    baselayer.PenColor = RulerBorderColor;
    baselayer.PenStyle = TBitmap32::TPenStyle::Solid;
    baselayer.MoveTo(0, RulerHeight);
    baselayer.LineTo(width(), RulerHeight);

    if (DocumentReady()) {
        const int32_t channelCount = std::clamp<int32_t>(document->channels, 1, MaxChannels);
        DrawChannelGrid(channelCount);
        samplesperpixel = double(visible) / wavewidth;
        if (samplesperpixel > 1.0)
            samplesperpixel = std::trunc(samplesperpixel);
        if (samplesperpixel == 0.0 || !std::isfinite(samplesperpixel))
            samplesperpixel = 0.00001;
        if (timeruler)
            DrawTimeRuler();
        else
            DrawSampleRuler();
        DrawWaveform(channelCount);
    } else if (Background.isNull()) {
        DrawEmptyPicture();
    } else {
        DrawBackgroundPicture();
    }

    drawnbase = BaseInputs();
    basekept = true;
    DrawUpperLayers();
    update();
}

void TWaveView::Redraw() {
    if (!basekept || cursor > DocumentFrames() || !BaseInputs().Same(drawnbase)) {
        Repaint();
        return;
    }
    if (tintkept && TintInputs() == drawntint) {
        if (drawncursorx != NoCursorLine)
            finallayer.CopyRect(sellayer, drawncursorx - 4, 0, drawncursorx + 4, layerheight);
        drawncursorx = DrawCursorLine() ? cursorx : NoCursorLine;
    } else {
        DrawUpperLayers();
    }
    update();
}

bool TWaveView::TBaseInputs::Same(const TBaseInputs& other) const {
    const bool sameTable = !Table.owner_before(other.Table) && !other.Table.owner_before(Table);
    return sameTable && Document == other.Document && Peaks == other.Peaks &&
           PeakCount == other.PeakCount && Frames == other.Frames && Channels == other.Channels &&
           SampleRate == other.SampleRate && ViewStart == other.ViewStart &&
           ViewEnd == other.ViewEnd && Visible == other.Visible && Width == other.Width &&
           Height == other.Height && TimeRuler == other.TimeRuler &&
           ScaleColor == other.ScaleColor && WaveColor == other.WaveColor &&
           BackgroundKey == other.BackgroundKey && BackgroundColor == other.BackgroundColor &&
           Ready == other.Ready;
}

TWaveView::TBaseInputs TWaveView::BaseInputs() const {
    TBaseInputs inputs;
    inputs.Document = document;
    if (document != nullptr) {
        inputs.Table = document->table;
        inputs.Peaks = document->peakindex.data();
        inputs.PeakCount = document->peakindex.size();
        inputs.Channels = document->channels;
        inputs.SampleRate = document->samplerate;
        inputs.Ready = document->ready;
    }
    inputs.Frames = DocumentFrames();
    inputs.ViewStart = viewstart;
    inputs.ViewEnd = viewend;
    inputs.Visible = visible;
    inputs.Width = width();
    inputs.Height = height();
    inputs.TimeRuler = timeruler;
    inputs.ScaleColor = ViewScaleColor;
    inputs.WaveColor = ViewWaveColor;
    inputs.BackgroundKey = Background.cacheKey();
    inputs.BackgroundColor = Backgroundcolor;
    return inputs;
}

TWaveView::TTintInputs TWaveView::TintInputs() const {
    return {selected, selectionstart, selectionstop};
}

void TWaveView::DrawUpperLayers() {
    int32_t x1 = 0;
    int32_t x2 = 0;
    const bool tinted = SelectionTintColumns(x1, x2);
    const int32_t top = RulerHeight;
    const int32_t bottom = RulerHeight + waveheight;
    // Row by row, so that each row of the three layers passes through the caches once.
    for (int32_t y = 0; y < baselayer.Height(); ++y) {
        sellayer.CopyRect(baselayer, 0, y, baselayer.Width(), y + 1);
        if (tinted && y >= top && y < bottom)
            BlendTintRect(sellayer, x1, y, x2, y + 1, SelectionTintColor);
        finallayer.CopyRect(sellayer, 0, y, sellayer.Width(), y + 1);
    }
    drawntint = TintInputs();
    tintkept = true;
    drawncursorx = DrawCursorLine() ? cursorx : NoCursorLine;
}

void TWaveView::ResizeLayers() {
    layerwidth = width();
    layerheight = height();
    for (TBitmap32* layer : {&baselayer, &sellayer, &finallayer})
        if (layer->Width() != layerwidth || layer->Height() != layerheight)
            layer->SetSize(layerwidth, layerheight);
}

void TWaveView::DrawGradientRows(TBitmap32& canvas, int32_t left, int32_t top, int32_t right,
                                 int32_t bottom, TColor from, TColor to) {
    const int32_t h = bottom - top;
    const TBitmap32::TPenStyle style = canvas.PenStyle;
    canvas.PenStyle = TBitmap32::TPenStyle::Solid;
    for (int32_t y = top; y < bottom; ++y) {
        const int32_t i = y - top;
        TColor color = 0;
        for (int shift : {0, 8, 16}) {
            const int32_t a = int32_t((from >> shift) & 0xFF);
            const int32_t b = int32_t((to >> shift) & 0xFF);
            const int32_t component = (a + int32_t(std::ceil(double(i) * (b - a) / h))) & 0xFF;
            color |= TColor(component) << shift;
        }
        canvas.PenColor = color;
        canvas.MoveTo(left, y);
        canvas.LineTo(right, y);
    }
    canvas.PenStyle = style;
}

void TWaveView::DrawChannelGrid(int32_t channelCount) {
    TBitmap32& canvas = baselayer;
    const int32_t c = std::clamp(channelCount, 1, MaxChannels);
    const double k = ScaleDivisor(c);
    const int32_t f = RoundPixel(32768.0 / k);
    canvas.FontName = "Arial";
    canvas.FontSize = 7;
    canvas.FontColor = LabelColor;
    canvas.BrushColor = ViewScaleColor;
    canvas.PenStyle = TBitmap32::TPenStyle::Solid;
    const double half = double(waveheight) / (2 * c);
    auto line = [&](int32_t y, TColor color) {
        canvas.PenColor = color;
        canvas.MoveTo(0, y);
        canvas.LineTo(wavewidth, y);
    };
    for (int32_t i = 0; i < c; ++i) {
        lanecentre[size_t(i)] = RoundPixel(half * (2 * i + 1)) + RulerHeight;
        line(lanecentre[size_t(i)] + f, FullScaleColor);
        line(lanecentre[size_t(i)] - f, FullScaleColor);
        if (c > 1 && i < c - 1)
            line(RoundPixel(half * (2 * i + 2)) + RulerHeight, SeparatorColor);
        line(lanecentre[size_t(i)], CentreLineColor);
    }
    canvas.PenColor = ViewWaveColor;
}

void TWaveView::DrawTick(int32_t x, double minor, const std::string& label) {
    TBitmap32& canvas = baselayer;
    canvas.PenStyle = TBitmap32::TPenStyle::Solid;
    canvas.PenColor = LabelColor;
    for (int j = 1; j <= 9; ++j) {
        const int32_t mx = RoundPixel(x + j * minor);
        canvas.MoveTo(mx, 0);
        canvas.LineTo(mx, 2);
    }
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, 6);
    canvas.FontColor = LabelColor;
    canvas.BrushColor = ViewScaleColor;
    canvas.TextOut(x - 10, 6, label);
    canvas.PenColor = GridLineColor;
    canvas.PenStyle = TBitmap32::TPenStyle::Dotted;
    canvas.MoveTo(x, RulerHeight);
    canvas.LineTo(x, height());
    canvas.PenStyle = TBitmap32::TPenStyle::Solid;
    canvas.PenColor = ViewWaveColor;
}

void TWaveView::DrawSampleRuler() {
    visible = viewend - viewstart;
    const TRulerScale::TSampleTicks ticks =
        TRulerScale::SampleTicks(viewstart, viewend, samplesperpixel);
    int32_t x = ticks.FirstX;
    uint64_t first = ticks.First;
    const double minor = ticks.PixelStep / 10.0;
    for (uint32_t n = 0; n <= ticks.Count; ++n) {
        DrawTick(x, minor, std::to_string(first));
        x += ticks.PixelStep;
        first += ticks.Step;
    }
}

void TWaveView::DrawTimeRuler() {
    const TRulerScale::TTimeTicks ticks =
        TRulerScale::TimeTicks(viewstart, viewend, document->samplerate, wavewidth);
    int32_t x = ticks.FirstX;
    int64_t first = ticks.First;
    const double minor = ticks.PixelStep / 10.0;
    for (int32_t n = 0; n <= ticks.Count; ++n) {
        DrawTick(x, minor, MsToStr(std::max<int64_t>(first, 0)));
        x += ticks.PixelStep;
        first += ticks.Step;
    }
}

void TWaveView::DrawWaveform(int32_t channelCount) {
    baselayer.PenColor = ViewWaveColor;
    baselayer.BrushColor = ViewScaleColor;
    baselayer.PenStyle = TBitmap32::TPenStyle::Solid;
    if (visible == 0 || !document->table)
        return;
    const double k = ScaleDivisor(channelCount);
    if (samplesperpixel < 1.0)
        DrawZoomedIn(channelCount, k);
    else
        DrawZoomedOut(channelCount, k);
}

void TWaveView::DrawZoomedIn(int32_t channelCount, double k) {
    const uint64_t stride = document->channels;
    TLargeFile& table = *document->table;
    const uint32_t frames = DocumentFrames();
    const bool markers = RoundPixel(1.0 / samplesperpixel) > 6;
    std::array<QPoint, MaxChannels> previous;
    for (int32_t i = 0; i < channelCount; ++i)
        previous[size_t(i)] = QPoint(0, lanecentre[size_t(i)]);
    for (uint64_t n = 0; n <= visible; ++n) {
        const uint64_t frame = viewstart + n;
        if (frame >= frames)
            break;
        const int32_t x = RoundPixel(double(n) / samplesperpixel);
        for (int32_t i = 0; i < channelCount; ++i) {
            const int16_t s = table.ReadAt(int64_t((frame * stride + uint64_t(i)) * 2));
            const int32_t y = lanecentre[size_t(i)] - RoundPixel(s / k);
            baselayer.MoveTo(previous[size_t(i)].x(), previous[size_t(i)].y());
            baselayer.LineTo(x, y);
            previous[size_t(i)] = QPoint(x, y);
            if (markers)
                baselayer.Rectangle(x - 2, y - 2, x + 3, y + 3);
        }
    }
}

void TWaveView::DrawZoomedOut(int32_t channelCount, double k) {
    const bool fromSamples = samplesperpixel / 512.0 < 1.0;
    const uint64_t perColumn = uint64_t(samplesperpixel) + 1;
    std::array<int32_t, MaxChannels> previous;
    for (int32_t i = 0; i < channelCount; ++i)
        previous[size_t(i)] = lanecentre[size_t(i)];
    for (int32_t col = 0; col < wavewidth; ++col) {
        // Adjacent columns share their edge frame (or block).
        const TWaveColumn column =
            fromSamples ? TWaveColumn::FromSamples(
                              ReadColumn(uint64_t(std::trunc(col * samplesperpixel)) + viewstart,
                                         perColumn),
                              0, perColumn, document->channels)
                        : TWaveColumn::FromPeaks(
                              document->peakindex,
                              uint64_t(std::trunc((col * samplesperpixel + viewstart) / 512.0)),
                              uint64_t(samplesperpixel / 512.0) + 1, document->channels);
        if (!column.Any)
            break;
        for (int32_t i = 0; i < channelCount; ++i) {
            const int32_t y1 = lanecentre[size_t(i)] - RoundPixel(column.First[size_t(i)] / k);
            const int32_t y2 = lanecentre[size_t(i)] - RoundPixel(column.Second[size_t(i)] / k);
            const QPoint points[] = {{col, previous[size_t(i)]}, {col + 1, y1}, {col + 1, y2}};
            baselayer.Polyline(points);
            previous[size_t(i)] = y2;
        }
    }
}

std::span<const int16_t> TWaveView::ReadColumn(uint64_t first, uint64_t count) {
    // One column at a time, so that its samples are still in the caches when they are scanned.
    const uint64_t channels = document->channels;
    const uint64_t frames = DocumentFrames();
    const uint64_t held = first < frames ? std::min(count, frames - first) : 0;
    columnsamples.resize(held * channels);
    document->table->Read(int64_t(first * channels * 2), columnsamples.data(),
                          int64_t(columnsamples.size() * 2));
    return columnsamples;
}

void TWaveView::DrawEmptyPicture() {
    DrawChannelGrid(2);
    baselayer.PenColor = GridLineColor;
    baselayer.PenStyle = TBitmap32::TPenStyle::Dotted;
    for (int32_t n = 0; n <= 10; ++n) {
        const int32_t x = n * (wavewidth / 10);
        baselayer.MoveTo(x, RulerHeight);
        baselayer.LineTo(x, height());
    }
    baselayer.PenStyle = TBitmap32::TPenStyle::Solid;
    baselayer.PenColor = ViewWaveColor;
}

void TWaveView::DrawBackgroundPicture() {
    baselayer.BrushColor = Backgroundcolor;
    baselayer.FillRect(0, RulerHeight, wavewidth, height());
    const int32_t ox = (wavewidth - Background.width()) / 2;
    const int32_t oy = (height() - Background.height()) / 2;
    QPainter painter(&baselayer.Image);
    painter.setClipRect(0, RulerHeight, wavewidth, waveheight);
    if (oy >= 0)
        painter.drawImage(ox, RulerHeight + oy, Background);
    else
        painter.drawImage(QPoint(ox, RulerHeight), Background,
                          QRect(0, -oy, Background.width(), Background.height() + oy));
}

bool TWaveView::SelectionTintColumns(int32_t& x1, int32_t& x2) const {
    if (!selected || !DocumentReady())
        return false;
    const bool reaches = (selectionstart >= viewstart && selectionstart <= viewend) ||
                         (selectionstop >= viewstart && selectionstop <= viewend) ||
                         (selectionstart < viewstart && selectionstop > viewend);
    if (!reaches || visible == 0)
        return false;
    x1 = viewstart < selectionstart
             ? RoundPixel((double(selectionstart) - viewstart) / samplesperpixel)
             : 0;
    x2 = selectionstop < viewend ? RoundPixel((double(selectionstop) - viewstart) / samplesperpixel)
                                 : wavewidth;
    return true;
}

void TWaveView::BlendTintRect(TBitmap32& canvas, int32_t left, int32_t top, int32_t right,
                              int32_t bottom, TColor color) {
    canvas.Tint(left, top, right, bottom, color, TintAlpha);
}

bool TWaveView::DrawCursorLine() {
    if (!DocumentReady() || !HasWaveArea(wavewidth, waveheight) ||
        !(viewstart < cursor && cursor < viewend))
        return false;
    cursorx = RoundPixel((double(cursor) - viewstart) / samplesperpixel);
    TBitmap32& canvas = finallayer;
    canvas.PenStyle = TBitmap32::TPenStyle::Solid;
    canvas.PenColor = CursorColor;
    canvas.MoveTo(cursorx, RulerHeight);
    canvas.LineTo(cursorx, layerheight);
    const QPoint top[] = {{cursorx - 3, RulerHeight},
                          {cursorx + 3, RulerHeight},
                          {cursorx, RulerHeight + 2},
                          {cursorx - 3, RulerHeight}};
    canvas.Polyline(top);
    const QPoint bottom[] = {{cursorx - 3, layerheight - 1},
                             {cursorx + 3, layerheight - 1},
                             {cursorx, layerheight - 3},
                             {cursorx - 3, layerheight - 1}};
    canvas.Polyline(bottom);
    canvas.PenColor = ViewWaveColor;
    return true;
}

void TWaveView::MoveCursorLine() {
    layerwidth = width();
    layerheight = height();
    cursorx = visible != 0 ? RoundPixel((double(cursor) - viewstart) / samplesperpixel) : 0;
    if (cursorx == drawncursorx)
        return;
    if (drawncursorx != NoCursorLine)
        finallayer.CopyRect(sellayer, drawncursorx - 4, 0, drawncursorx + 4, layerheight);
    drawncursorx = DrawCursorLine() ? cursorx : NoCursorLine;
    update();
}
