#pragma once

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>

/// The level meter: one horizontal bar per channel with a peak marker on each bar.
///
/// It moves only when fed: every `SetLevels` call (the document window's meter timer while a
/// document plays) is one update in which bars rise at once or fall `BarDecay` pixels, and
/// markers stay `PeakHold` + 1 updates before they fall `PeakFall` pixels per update. Levels run
/// from 0 to 128 (128 fills the width). Colours are 0x00BBGGRR values.
///
/// Each update is drawn into `Frame` and shown by the next paint; any other repaint, and
/// `Paint`, clears the bitmaps and shows the cleared `Composite`, so after a repaint the meter
/// shows only its background until the next update. Main thread only.
class TVUMeter : public QWidget {
    Q_OBJECT
    Q_PROPERTY(uint backcolor MEMBER backcolor)
    Q_PROPERTY(uint forecolor MEMBER forecolor)

public:
    /// Levels of up to 9 channels, index = channel.
    using TLevels = std::array<int16_t, 9>;

    /// An opaque meter of 127 × 38 pixels with black colours and cleared bitmaps.
    explicit TVUMeter(QWidget* AOwner = nullptr);

    /// One update with the levels of `count` channels (0 is ignored, more than 9 count as 9).
    /// A hidden meter (its own flag, whatever its parents) ignores the call entirely.
    void SetLevels(TLevels levels, uint8_t count);
    /// Clears the picture, the bars, the levels and the markers.
    void Reset();
    /// Drops bars, markers and their ages of entries 0 … 126 (entry 127 is kept).
    void ResetPeaks();
    /// Fills `Frame`, `Composite` and `Trail` with the background colour.
    void Clear();
    /// Sizes and clears the bitmaps and repaints the meter with the cleared `Composite`.
    void Paint();

    uint32_t backcolor = 0;
    uint32_t forecolor = 0;
    std::array<int16_t, 256> Levels{};
    uint8_t ChannelCount = 1;
    std::array<int32_t, 128> Bars{};     ///< bar length in pixels per channel
    std::array<int32_t, 128> Peaks{};    ///< right edge of the peak marker per channel, pixels
    std::array<int32_t, 128> PeakAges{}; ///< updates since the marker was last raised
    int32_t PeakHold = 10;
    int32_t PeakFall = 1;
    int32_t BarDecay = 3;
    QImage Frame;     ///< the image of the last update (Format_BGR888, meter size)
    QImage Trail;     ///< the previous composite shifted 2 pixels left (trail mode)
    QImage Composite; ///< the blend of trail and frame (trail mode); what a repaint shows
    bool ShowPeaks = true;
    /// Blend every update into a trail that drifts left and fades; off unless a caller sets it.
    bool TrailMode = false;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void SizeBitmaps();
    void DrawBars(int32_t laneHeight);
    void DrawPeaks(int32_t laneHeight);
    void ShowTrail();
    int32_t BarLength(int16_t level) const;

    /// Set by `SetLevels`: the next paint shows the update instead of clearing.
    bool FramePending = false;
};
