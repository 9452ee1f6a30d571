// Ruler label steps and the first tick, against values worked out by hand.
#include "TRulerScale.h"
#include "ViewColors.h"
#include "WaveViewFixture.h"

#include <gtest/gtest.h>

TEST(TRulerScaleTest, SampleStepPerVisibleFrames) {
    struct Case {
        uint32_t Visible, Step;
    };
    const Case cases[] = {
        {10000, 1500},          // a = 1666, base 500
        {10001, 1666},          // a = 1666, base 5000 gives 0: the raw a
        {60, 10},               // a = 10
        {60000, 10000}, {5, 1}, // a = 0
        {0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TRulerScale::SampleStep(c.Visible), c.Step) << c.Visible;
}

TEST(TRulerScaleTest, TimeStepPerSpan) {
    struct Case {
        double Span;
        int64_t Step;
    };
    const Case cases[] = {
        {60000.0, 10000},    // a = 10000, base 5, m = 1000
        {600000.0, 60000},   // a = 100000, base 60, m = 1000
        {20.0, 5},           // a = 3, raised to 5
        {100.0, 15},         // a = 16, base 5, m = 1
        {3600000.0, 600000}, // a = 600000, base 300, m = 1000
        {0.0, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TRulerScale::TimeStep(c.Span), c.Step) << c.Span;
}

TEST(TRulerScaleTest, SampleTicksStartAtOrLeftOfTheView) {
    auto ticks = TRulerScale::SampleTicks(1000, 7000, 15.0);
    EXPECT_EQ(ticks.Step, 1000u);
    EXPECT_EQ(ticks.Count, 6u);
    EXPECT_EQ(ticks.PixelStep, 66);
    EXPECT_EQ(ticks.First, 1000u);
    EXPECT_EQ(ticks.FirstX, 0);
    ticks = TRulerScale::SampleTicks(1500, 7500, 15.0);
    EXPECT_EQ(ticks.First, 1000u);
    EXPECT_EQ(ticks.FirstX, -33); // Trunc(−33.3)
}

TEST(TRulerScaleTest, TimeTicksStartAtOrLeftOfTheView) {
    // 60 s at 8000 Hz over 600 pixels: 100 ms a pixel.
    auto ticks = TRulerScale::TimeTicks(0, 480000, 8000, 600);
    EXPECT_EQ(ticks.Step, 10000);
    EXPECT_EQ(ticks.PixelStep, 100);
    EXPECT_EQ(ticks.First, 0);
    EXPECT_EQ(ticks.FirstX, 0);
    EXPECT_EQ(ticks.Count, 5); // x = 100 … 500 lie inside 600 pixels
    // From 7.3 s: the nearest label (10 s) lies right of the start, so one step back.
    ticks = TRulerScale::TimeTicks(58400, 538400, 8000, 600);
    EXPECT_EQ(ticks.First, 0);
    EXPECT_EQ(ticks.FirstX, -73);
    EXPECT_EQ(ticks.Count, 6);
}

TEST(TRulerScaleTest, NarrowWaveAreaStillEndsTheTicks) {
    const auto ticks = TRulerScale::TimeTicks(0, 8000, 8000, 1);
    EXPECT_GE(ticks.PixelStep, 1);
    EXPECT_EQ(ticks.Count, 0);
}

namespace {
using RulerDrawTest = WaveViewFixture;
}

TEST_F(RulerDrawTest, SampleRulerTicksAndGridLines) {
    // 800 frames over 400 pixels: step 133 frames, 66 pixels, minor ticks every 6.6 pixels.
    View.timeruler = false;
    Load(std::vector<int16_t>(800, 0));
    const TBitmap32& layer = View.baselayer;
    for (int y = 0; y < 6; ++y)
        EXPECT_EQ(At(layer, 66, y), TWaveView::LabelColor) << y;
    for (int x : {73, 79, 86, 92, 99, 106, 112, 119, 125}) {
        EXPECT_EQ(At(layer, x, 0), TWaveView::LabelColor) << x;
        EXPECT_EQ(At(layer, x, 1), TWaveView::LabelColor) << x;
        EXPECT_EQ(At(layer, x, 2), ViewScaleColor) << x;
    }
    EXPECT_EQ(At(layer, 70, 0), ViewScaleColor);
    EXPECT_EQ(At(layer, 66, 21), TWaveView::GridLineColor);
    EXPECT_EQ(At(layer, 132, 21), TWaveView::GridLineColor);
    EXPECT_NE(At(layer, 100, 21), TWaveView::GridLineColor);
}

TEST_F(RulerDrawTest, TimeRulerTicksEveryFifteenMilliseconds) {
    // 100 ms over 400 pixels: a label every 15 ms, 60 pixels.
    Load(std::vector<int16_t>(800, 0));
    const TBitmap32& layer = View.baselayer;
    for (int x : {0, 60, 120, 360}) {
        EXPECT_EQ(At(layer, x, 5), TWaveView::LabelColor) << x;
        EXPECT_EQ(At(layer, x, 21), TWaveView::GridLineColor) << x;
    }
    EXPECT_EQ(At(layer, 6, 1), TWaveView::LabelColor); // first minor tick
    EXPECT_EQ(At(layer, 90, 21), At(layer, 91, 21));
    EXPECT_NE(At(layer, 90, 21), TWaveView::GridLineColor);
}
