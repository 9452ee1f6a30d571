// The two values of a pixel column: maximum first from samples, occurrence order from peaks, and
// nothing from beyond the document's end.
#include "TWaveColumn.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

TEST(TWaveColumnTest, SamplesGiveMaximumThenMinimumPerChannel) {
    // Frames (left, right): (5, −1), (−7, 2), (3, 9), (100, −100).
    const std::vector<int16_t> samples{5, -1, -7, 2, 3, 9, 100, -100};
    const TWaveColumn column = TWaveColumn::FromSamples(samples, 0, 3, 2);
    EXPECT_TRUE(column.Any);
    EXPECT_EQ(column.First[0], 5);
    EXPECT_EQ(column.Second[0], -7);
    EXPECT_EQ(column.First[1], 9);
    EXPECT_EQ(column.Second[1], -1);
}

TEST(TWaveColumnTest, FramesPastTheEndTakeNoPart) {
    const std::vector<int16_t> samples{1, 2, 3};
    TWaveColumn column = TWaveColumn::FromSamples(samples, 2, 5, 1);
    EXPECT_TRUE(column.Any);
    EXPECT_EQ(column.First[0], 3);
    EXPECT_EQ(column.Second[0], 3);
    column = TWaveColumn::FromSamples(samples, 3, 5, 1);
    EXPECT_FALSE(column.Any);
    // A frame that the samples hold only in part is past the end as well.
    column = TWaveColumn::FromSamples(samples, 1, 5, 2);
    EXPECT_FALSE(column.Any);
}

TEST(TWaveColumnTest, NineChannelsOfSamplesShowTheFirstEightAtTheirOwnStride) {
    std::vector<int16_t> samples;
    for (int frame = 0; frame < 3; ++frame)
        for (int channel = 0; channel < 9; ++channel)
            samples.push_back(int16_t(frame == 1 ? 100 * channel : -channel));
    const TWaveColumn column = TWaveColumn::FromSamples(samples, 0, 3, 9);
    for (int channel = 0; channel < 8; ++channel) {
        EXPECT_EQ(column.First[size_t(channel)], 100 * channel) << channel;
        EXPECT_EQ(column.Second[size_t(channel)], -channel) << channel;
    }
}

TEST(TWaveColumnTest, PeaksComeInTheOrderTheyOccur) {
    struct Case {
        Tindexdata Index;
        int32_t First, Second;
    };
    const Case cases[] = {
        // minimum in block 0, maximum in block 1: minimum first
        {{MakeIndexElement(0, -900), MakeIndexElement(800, 0)}, -900, 800},
        // maximum in block 0, minimum in block 1: maximum first
        {{MakeIndexElement(800, 0), MakeIndexElement(0, -900)}, 800, -900},
        // both in one block: maximum first
        {{MakeIndexElement(800, -900), MakeIndexElement(10, -10)}, 800, -900},
        // an equal maximum later does not move it
        {{MakeIndexElement(800, -900), MakeIndexElement(800, -5)}, 800, -900},
    };
    for (const Case& c : cases) {
        const TWaveColumn column = TWaveColumn::FromPeaks(c.Index, 0, 2, 1);
        EXPECT_EQ(column.First[0], c.First);
        EXPECT_EQ(column.Second[0], c.Second);
    }
}

TEST(TWaveColumnTest, PeakBlocksPastTheIndexTakeNoPart) {
    const Tindexdata index{MakeIndexElement(5, -5), MakeIndexElement(7, -3),
                           MakeIndexElement(100, -100), MakeIndexElement(1, 1)};
    // Two channels, two blocks; a scan of three blocks from block 1 sees only block 1.
    TWaveColumn column = TWaveColumn::FromPeaks(index, 1, 3, 2);
    EXPECT_TRUE(column.Any);
    EXPECT_EQ(column.First[0], 100);
    EXPECT_EQ(column.Second[0], -100);
    EXPECT_EQ(column.First[1], 1);
    EXPECT_EQ(column.Second[1], 1);
    column = TWaveColumn::FromPeaks(index, 2, 3, 2);
    EXPECT_FALSE(column.Any);
}

TEST(TWaveColumnTest, NineChannelsShowTheFirstEightAtTheirOwnStride) {
    Tindexdata index;
    for (int block = 0; block < 2; ++block)
        for (int channel = 0; channel < 9; ++channel)
            index.push_back(MakeIndexElement(int16_t(100 * block + channel), int16_t(-channel)));
    const TWaveColumn column = TWaveColumn::FromPeaks(index, 1, 1, 9);
    for (int channel = 0; channel < 8; ++channel) {
        EXPECT_EQ(column.First[size_t(channel)], 100 + channel);
        EXPECT_EQ(column.Second[size_t(channel)], -channel);
    }
}

TEST(TWaveColumnTest, SamplesOfEveryChannelCountMatchAPlainScan) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> sample(-32768, 32767);
    std::vector<int16_t> samples(9 * 700);
    for (int16_t& s : samples)
        s = int16_t(sample(random));
    for (int32_t channels = 1; channels <= 9; ++channels) {
        const uint64_t frames = samples.size() / uint64_t(channels);
        for (const auto& [first, count] : {std::pair<uint64_t, uint64_t>{0, 1},
                                           {3, 17},
                                           {5, 64},
                                           {100, 513},
                                           {frames - 7, 50}}) {
            const TWaveColumn column = TWaveColumn::FromSamples(samples, first, count, channels);
            ASSERT_TRUE(column.Any);
            for (int32_t i = 0; i < std::min(channels, 8); ++i) {
                int32_t maximum = -32768, minimum = 32767;
                for (uint64_t f = first; f < std::min(first + count, frames); ++f) {
                    maximum = std::max<int32_t>(maximum, samples[f * channels + i]);
                    minimum = std::min<int32_t>(minimum, samples[f * channels + i]);
                }
                EXPECT_EQ(column.First[size_t(i)], maximum) << channels << " " << first << " " << i;
                EXPECT_EQ(column.Second[size_t(i)], minimum)
                    << channels << " " << first << " " << i;
            }
        }
    }
}
