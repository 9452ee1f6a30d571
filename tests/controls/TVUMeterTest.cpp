// The level meter: bar and marker motion per update, lanes, colours, what a paint shows, and the
// trail mode's blend, checked against hand-computed values and the pixels of its bitmaps.
#include "TVUMeter.h"

#include <QApplication>
#include <QColor>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint32_t Fore = 5555555; // 0x0054C563: red 0x63, green 0xC5, blue 0x54
const QColor ForeColor(0x63, 0xC5, 0x54);
constexpr uint32_t Back = 0x00102030;
const QColor BackColor(0x30, 0x20, 0x10);

// A shown meter of the given size, so that updates are not ignored.
struct ShownMeter {
    explicit ShownMeter(int width = 221, int height = 38) {
        Meter.backcolor = Back;
        Meter.forecolor = Fore;
        Meter.resize(width, height);
        Meter.show();
        QApplication::processEvents();
    }
    void Update(int16_t level, uint8_t count = 1) {
        TVUMeter::TLevels levels{};
        levels.fill(level);
        Meter.SetLevels(levels, count);
    }
    TVUMeter Meter;
};

TEST(TVUMeterTest, CreatedWithTheDocumentedDefaults) {
    TVUMeter meter;
    EXPECT_EQ(meter.width(), 127);
    EXPECT_EQ(meter.height(), 38);
    EXPECT_EQ(meter.backcolor, 0u);
    EXPECT_EQ(meter.forecolor, 0u);
    EXPECT_EQ(meter.ChannelCount, 1);
    EXPECT_EQ(meter.PeakHold, 10);
    EXPECT_EQ(meter.PeakFall, 1);
    EXPECT_EQ(meter.BarDecay, 3);
    EXPECT_TRUE(meter.ShowPeaks);
    EXPECT_FALSE(meter.TrailMode);
    EXPECT_TRUE(meter.testAttribute(Qt::WA_OpaquePaintEvent));
    for (const QImage* bitmap : {&meter.Frame, &meter.Trail, &meter.Composite}) {
        EXPECT_EQ(bitmap->size(), QSize(127, 38));
        EXPECT_EQ(bitmap->format(), QImage::Format_BGR888);
    }
}

TEST(TVUMeterTest, BarLengthsScaleTheLevelToTheWidth) {
    struct Case {
        int16_t Level;
        int32_t Bar;
    };
    const Case cases[] = {{128, 221}, {64, 110}, {1, 1}, {0, 0}, {200, 221}, {-5, 0}};
    for (const Case& c : cases) {
        ShownMeter shown;
        shown.Update(c.Level);
        EXPECT_EQ(shown.Meter.Bars[0], c.Bar) << "level " << c.Level;
        EXPECT_EQ(shown.Meter.Peaks[0], c.Bar) << "level " << c.Level;
    }
}

TEST(TVUMeterTest, SteadyLevelAlternatesBetweenLengthAndThreeLess) {
    ShownMeter shown;
    std::vector<int32_t> bars;
    for (int i = 0; i < 6; ++i) {
        shown.Update(64);
        bars.push_back(shown.Meter.Bars[0]);
    }
    EXPECT_EQ(bars, (std::vector<int32_t>{110, 107, 110, 107, 110, 107}));
}

TEST(TVUMeterTest, BarFallsThreePixelsPerUpdateToZero) {
    ShownMeter shown(20, 38);
    shown.Update(128);
    std::vector<int32_t> bars;
    for (int i = 0; i < 8; ++i) {
        shown.Update(0);
        bars.push_back(shown.Meter.Bars[0]);
    }
    EXPECT_EQ(bars, (std::vector<int32_t>{17, 14, 11, 8, 5, 2, 0, 0}));
}

TEST(TVUMeterTest, MarkerHoldsElevenUpdatesThenFallsOnePixelEach) {
    ShownMeter shown;
    shown.Update(128);
    std::vector<int32_t> peaks = {shown.Meter.Peaks[0]};
    for (int i = 0; i < 14; ++i) {
        shown.Update(0);
        peaks.push_back(shown.Meter.Peaks[0]);
    }
    const std::vector<int32_t> expected = {221, 221, 221, 221, 221, 221, 221, 221,
                                           221, 221, 221, 220, 219, 218, 217};
    EXPECT_EQ(peaks, expected);
}

TEST(TVUMeterTest, RisingBarRaisesTheMarkerAgain) {
    ShownMeter shown;
    shown.Update(128);
    for (int i = 0; i < 12; ++i)
        shown.Update(0); // the marker fell to 219 in the last two
    shown.Update(64);    // below the marker: it goes on falling
    EXPECT_EQ(shown.Meter.Peaks[0], 218);
    shown.Update(128);
    EXPECT_EQ(shown.Meter.Peaks[0], 221);
    EXPECT_EQ(shown.Meter.PeakAges[0], 1);
}

bool IsFore(const QImage& image, int x, int y) {
    return image.pixelColor(x, y) == ForeColor;
}

TEST(TVUMeterTest, BarAndMarkerCoverTheirColumns) {
    ShownMeter shown;
    shown.Update(64); // bar 110: columns 1..109; marker columns 108..109
    const QImage& frame = shown.Meter.Frame;
    EXPECT_EQ(frame.pixelColor(0, 5), BackColor);
    EXPECT_TRUE(IsFore(frame, 1, 5));
    EXPECT_TRUE(IsFore(frame, 109, 5));
    EXPECT_EQ(frame.pixelColor(110, 5), BackColor);

    shown.Update(0);
    shown.Update(0); // bar 104: columns 1..103; marker still at 110
    EXPECT_TRUE(IsFore(frame, 103, 5));
    EXPECT_EQ(frame.pixelColor(104, 5), BackColor);
    EXPECT_EQ(frame.pixelColor(107, 5), BackColor);
    EXPECT_TRUE(IsFore(frame, 108, 5));
    EXPECT_TRUE(IsFore(frame, 109, 5));
    EXPECT_EQ(frame.pixelColor(110, 5), BackColor);
}

TEST(TVUMeterTest, ShortBarsAndMarkersFollowTheRectangleRule) {
    ShownMeter shown;
    shown.Update(1); // bar 1 is empty (columns 1..0); marker 1 covers column 0 only
    const QImage& frame = shown.Meter.Frame;
    EXPECT_TRUE(IsFore(frame, 0, 5));
    EXPECT_EQ(frame.pixelColor(1, 5), BackColor);
    shown.Meter.ShowPeaks = false;
    shown.Update(0);
    for (int x = 0; x < 221; ++x)
        ASSERT_EQ(frame.pixelColor(x, 5), BackColor) << "column " << x;
}

TEST(TVUMeterTest, TwoChannelLanesOnHeight25) {
    ShownMeter shown(221, 25);
    TVUMeter::TLevels levels{128, 128};
    shown.Meter.SetLevels(levels, 2);
    std::vector<int> foreRows;
    for (int y = 0; y < 25; ++y)
        if (IsFore(shown.Meter.Frame, 50, y))
            foreRows.push_back(y);
    std::vector<int> expected;
    for (int y = 1; y <= 11; ++y)
        expected.push_back(y);
    for (int y = 13; y <= 23; ++y)
        expected.push_back(y);
    EXPECT_EQ(foreRows, expected);
}

TEST(TVUMeterTest, ChannelsKeepTheirOwnBars) {
    ShownMeter shown;
    TVUMeter::TLevels levels{128, 64, 0};
    shown.Meter.SetLevels(levels, 3);
    EXPECT_EQ(shown.Meter.ChannelCount, 3);
    EXPECT_EQ(shown.Meter.Bars[0], 221);
    EXPECT_EQ(shown.Meter.Bars[1], 110);
    EXPECT_EQ(shown.Meter.Bars[2], 0);
    EXPECT_EQ(shown.Meter.Levels[1], 64);
    // Lanes of (38 − 1) div 3 = 12 rows: channel 1 ends at column 109 on rows 13..23.
    EXPECT_TRUE(IsFore(shown.Meter.Frame, 109, 13));
    EXPECT_EQ(shown.Meter.Frame.pixelColor(110, 13), BackColor);
    EXPECT_EQ(shown.Meter.Frame.pixelColor(50, 12), BackColor);
}

TEST(TVUMeterTest, ResetPeaksLeavesTheLastEntry) {
    TVUMeter meter;
    meter.Bars.fill(5);
    meter.Peaks.fill(6);
    meter.PeakAges.fill(7);
    meter.ResetPeaks();
    for (int i = 0; i < 127; ++i) {
        ASSERT_EQ(meter.Bars[i], 0) << i;
        ASSERT_EQ(meter.Peaks[i], 0) << i;
        ASSERT_EQ(meter.PeakAges[i], 0) << i;
    }
    EXPECT_EQ(meter.Bars[127], 5);
    EXPECT_EQ(meter.Peaks[127], 6);
    EXPECT_EQ(meter.PeakAges[127], 7);
}

TEST(TVUMeterTest, HiddenMeterIgnoresUpdatesAndContinuesWhenShown) {
    ShownMeter shown;
    shown.Update(64);
    const QImage before = shown.Meter.Frame.copy();
    shown.Meter.hide();
    shown.Update(128, 2);
    EXPECT_EQ(shown.Meter.Bars[0], 110);
    EXPECT_EQ(shown.Meter.Peaks[0], 110);
    EXPECT_EQ(shown.Meter.PeakAges[0], 1);
    EXPECT_EQ(shown.Meter.ChannelCount, 1);
    EXPECT_EQ(shown.Meter.Levels[0], 64);
    EXPECT_EQ(shown.Meter.Frame, before);
    shown.Meter.show();
    shown.Update(64);
    EXPECT_EQ(shown.Meter.Bars[0], 107);
}

TEST(TVUMeterTest, ChannelCountZeroIsIgnoredAndTenCountsAsNine) {
    ShownMeter shown;
    shown.Update(64);
    shown.Update(128, 0);
    EXPECT_EQ(shown.Meter.Bars[0], 110);
    EXPECT_EQ(shown.Meter.ChannelCount, 1);

    shown.Update(128, 10);
    EXPECT_EQ(shown.Meter.ChannelCount, 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(shown.Meter.Bars[i], 221) << i;
    EXPECT_EQ(shown.Meter.Bars[9], 0);
    EXPECT_EQ(shown.Meter.Levels[9], 0);
}

TEST(TVUMeterTest, UpdateIsPaintedOnceThenRepaintsShowTheBackground) {
    ShownMeter shown;
    shown.Update(128);
    const QImage first = shown.Meter.grab().toImage();
    EXPECT_EQ(first.pixelColor(50, 5), ForeColor);
    EXPECT_EQ(first.pixelColor(50, 0), BackColor);
    const QImage second = shown.Meter.grab().toImage();
    EXPECT_EQ(second.pixelColor(50, 5), BackColor);
    EXPECT_EQ(shown.Meter.Frame.pixelColor(50, 5), BackColor);
    EXPECT_EQ(shown.Meter.Bars[0], 221); // the bars are kept for the next update
}

TEST(TVUMeterTest, PaintClearsTheBitmapsAndDropsAPendingUpdate) {
    ShownMeter shown;
    shown.Update(128);
    shown.Meter.Paint();
    for (const QImage* bitmap : {&shown.Meter.Frame, &shown.Meter.Trail, &shown.Meter.Composite})
        EXPECT_EQ(bitmap->pixelColor(50, 5), BackColor);
    EXPECT_EQ(shown.Meter.grab().toImage().pixelColor(50, 5), BackColor);
}

TEST(TVUMeterTest, ResetClearsBarsLevelsAndMarkers) {
    ShownMeter shown;
    TVUMeter::TLevels levels{128, 64};
    shown.Meter.SetLevels(levels, 2);
    shown.Meter.Reset();
    EXPECT_EQ(shown.Meter.Bars[0], 0);
    EXPECT_EQ(shown.Meter.Bars[1], 0);
    EXPECT_EQ(shown.Meter.Peaks[0], 0);
    EXPECT_EQ(shown.Meter.PeakAges[1], 0);
    EXPECT_EQ(shown.Meter.Levels[0], 0);
    EXPECT_EQ(shown.Meter.Frame.pixelColor(50, 5), BackColor);
    shown.Update(64);
    EXPECT_EQ(shown.Meter.Bars[0], 110);
}

TEST(TVUMeterTest, ResizeSizesTheBitmapsAndDropsTheMarkers) {
    ShownMeter shown;
    shown.Update(128);
    shown.Meter.resize(300, 30);
    EXPECT_EQ(shown.Meter.Peaks[0], 0);
    EXPECT_EQ(shown.Meter.Bars[0], 0);
    for (const QImage* bitmap : {&shown.Meter.Frame, &shown.Meter.Trail, &shown.Meter.Composite})
        EXPECT_EQ(bitmap->size(), QSize(300, 30));
    shown.Update(128);
    EXPECT_EQ(shown.Meter.Bars[0], 300);
}

TEST(TVUMeterTest, ZeroSizedChildMeterUpdatesWithoutDrawing) {
    QWidget window;
    TVUMeter meter(&window);
    meter.resize(0, 0);
    window.show();
    QApplication::processEvents();
    meter.TrailMode = true;
    meter.SetLevels(TVUMeter::TLevels{128}, 1);
    EXPECT_EQ(meter.ChannelCount, 1);
    EXPECT_EQ(meter.Levels[0], 128);
    EXPECT_EQ(meter.Bars[0], 0);
    EXPECT_TRUE(meter.Frame.isNull());
}

std::vector<uint8_t> Bytes(const QImage& image) {
    return {image.constBits(), image.constBits() + image.sizeInBytes()};
}

TEST(TVUMeterTest, TrailModeBlendsAndDriftsLeft) {
    ShownMeter shown(40, 10);
    TVUMeter& meter = shown.Meter;
    meter.backcolor = 0;
    meter.forecolor = 0xFFFFFF;
    meter.ShowPeaks = false;
    meter.Clear();
    meter.TrailMode = true;
    for (int16_t level : {128, 0, 64}) {
        const std::vector<uint8_t> trail = Bytes(meter.Trail);
        shown.Update(level);
        const std::vector<uint8_t> frame = Bytes(meter.Frame);
        std::vector<uint8_t> composite(frame.size());
        for (size_t i = 0; i < frame.size(); ++i)
            composite[i] = static_cast<uint8_t>((trail[i] * 26 + frame[i] * 6) / 32);
        ASSERT_EQ(Bytes(meter.Composite), composite) << "level " << level;
        // The new trail is the composite moved two pixels left; its last two columns stay.
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 38; ++x)
                ASSERT_EQ(meter.Trail.pixel(x, y), meter.Composite.pixel(x + 2, y));
            for (int x = 38; x < 40; ++x)
                ASSERT_EQ(meter.Trail.constScanLine(y)[3 * x], trail[y * 120 + 3 * x]);
        }
    }
    // What the update shows is the composite, not the frame.
    const QImage shot = meter.grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 5), meter.Composite.pixelColor(5, 5));
    EXPECT_NE(meter.Composite.pixelColor(5, 5), meter.Frame.pixelColor(5, 5));
}

} // namespace
