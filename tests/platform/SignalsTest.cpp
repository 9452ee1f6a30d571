// The shared test signals against values worked out by hand, so that a change to a generator
// shows here before it silently changes the data of the tests that use it.
#include "Signals.h"

#include <gtest/gtest.h>

#include <set>

using Samples = std::vector<int16_t>;

TEST(Signals, RampsStepWrapAndStartAgain) {
    EXPECT_EQ(Ramp(5, -32768, 7919), (Samples{-32768, -24849, -16930, -9011, -1092}));
    EXPECT_EQ(Ramp(3, 32760, 7), (Samples{32760, 32767, -32762})) << "wraps round the range";
    EXPECT_EQ(Ramp(5, -8000, 8, 16), (Samples{-8000, -7992, -8000, -7992, -8000}));
    EXPECT_TRUE(Ramp(0, 0, 7).empty());
}

TEST(Signals, SinesRepeatInEveryChannelHarmonicsMultiplyTheFrequency) {
    // A quarter turn a frame.
    EXPECT_EQ(Sine(5, 1, 4, 2, 1000), (Samples{0, 0, 1000, 1000, 0, 0, -1000, -1000, 0, 0}));
    EXPECT_EQ(Harmonics(4, 1, 4, 2, 1000), (Samples{0, 0, 1000, 0, 0, 0, -1000, 0}));
}

TEST(Signals, NoisesFollowTheirSeedAndRange) {
    // The first number of std::mt19937 from its default seed is 3499211612 = 0xD091BB5C.
    EXPECT_EQ(RawNoise(1, 5489), (Samples{int16_t(0xBB5C)}));
    EXPECT_EQ(LcgNoise(3, 1, 100), (Samples{31, -21, -81}));
    EXPECT_EQ(LcgNoise(1, 3, 100), LcgNoise(3, 1, 100)) << "one stream over all channels";
    const Samples small = UniformNoise(10000, 5, -3, 3);
    EXPECT_EQ(std::set<int16_t>(small.begin(), small.end()),
              (std::set<int16_t>{-3, -2, -1, 0, 1, 2, 3}));
    EXPECT_EQ(UniformNoise(100, 5), UniformNoise(100, 5));
    EXPECT_NE(UniformNoise(100, 5), UniformNoise(100, 6));
}
