// The scroll bar's counting: range, page, last position and 16-bit steps.
#include "TScrollBar.h"

#include <gtest/gtest.h>

TEST(TScrollBarTest, LastPositionShowsTheLastUnitAsThePagesLast) {
    TScrollBar bar;
    bar.SetMax(1000);
    bar.SetPageSize(100);
    bar.SetPosition(5000);
    EXPECT_EQ(bar.Position(), 901);
    EXPECT_EQ(bar.pageStep(), 100);
    bar.SetPageSize(0);
    bar.SetPosition(5000);
    EXPECT_EQ(bar.Position(), 1000);
    bar.SetPageSize(5000); // no larger than the range
    EXPECT_EQ(bar.PageSize(), 1001);
    EXPECT_EQ(bar.Position(), 0);
}

TEST(TScrollBarTest, SmallStepIsKeptInSixteenBitsAndTheLargeOneIsNot) {
    TScrollBar bar;
    bar.SetMax(10000000);
    bar.SetPageSize(5000000);
    bar.SetSmallChange(100000);
    bar.SetLargeChange(5000000);
    EXPECT_EQ(bar.SmallChange(), 32767);
    EXPECT_EQ(bar.LargeChange(), 5000000);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(bar.Position(), 5000000);
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar.Position(), 5000000 - 32767);
    bar.SetLargeChange(int64_t(1) << 40);
    EXPECT_EQ(bar.LargeChange(), INT32_MAX);
    bar.SetSmallChange(0);
    EXPECT_EQ(bar.SmallChange(), 0);
}
