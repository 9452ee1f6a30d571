#include "LevelText.h"

#include <gtest/gtest.h>

TEST(LevelText, ThreeSignificantDigitsWithoutTrailingZeros) {
    struct Case {
        double decibels;
        const char* text;
    } cases[] = {{-90.0, "-90 dB"},         {-6.0206, "-6.02 dB"}, {0.0, "0 dB"},
                 {-0.5, "-0.5 dB"},         {-12.345, "-12.3 dB"}, {-90.309, "-90.3 dB"},
                 {0.000265, "0.000265 dB"}, {-20.0, "-20 dB"},     {-9.996, "-10 dB"}};
    for (const Case& c : cases)
        EXPECT_EQ(LevelText(c.decibels), c.text) << c.decibels;
}
