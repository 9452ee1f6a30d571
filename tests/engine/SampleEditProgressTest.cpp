#include "SampleEditProgress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct PercentCase {
    int64_t Done;
    int64_t Total;
    int32_t Expected;
};

/// Every value a per-frame loop posts: each frame's value when it differs from the last one.
std::vector<int32_t> PerFrame(SampleEditProgress::Rule rule, int64_t n, int32_t start) {
    std::vector<int32_t> posted;
    int32_t last = start;
    for (int64_t k = 0; k < n; ++k)
        if (const int32_t value = rule(k, n); value != last)
            posted.push_back(last = value);
    return posted;
}

} // namespace

TEST(SampleEditProgress, PercentRoundsToNearestWithTiesToEven) {
    const PercentCase cases[] = {
        {0, 7, 0},       {1, 200, 0},                          // 0.5 → 0
        {3, 200, 2},                                           // 1.5 → 2
        {5, 200, 2},                                           // 2.5 → 2
        {7, 200, 4},                                           // 3.5 → 4
        {1, 3, 33},      {2, 3, 67},  {3, 3, 100}, {1, 8, 12}, // 12.5 → 12
        {3, 8, 38},                                            // 37.5 → 38
        {199, 200, 100},                                       // 99.5 → 100
    };
    for (const PercentCase& c : cases)
        EXPECT_EQ(SampleEditProgress::Percent(c.Done, c.Total), c.Expected)
            << c.Done << " of " << c.Total;
}

TEST(SampleEditProgress, ReverseReachesHundredOnAOneGigabyteDocument) {
    // 1 GiB of stereo audio: a single-precision accumulator of 100 / n stops growing long before
    // the end of such a document.
    const int64_t n = (int64_t(1) << 30) / 4;
    EXPECT_EQ(SampleEditProgress::Reverse(n - 1, n), 100);
    EXPECT_EQ(SampleEditProgress::Reverse(n / 2 - 1, n), 50);
    EXPECT_EQ(SampleEditProgress::Gain(n - 1, n), 100);
    EXPECT_EQ(SampleEditProgress::Fade(n - 1, n), 100);
}

TEST(SampleEditProgress, InvertDoesNotWrapPast21MillionFrames) {
    // i × 100 in 32 bits wraps beyond 21,474,836 frames.
    const int64_t n = 30000000;
    EXPECT_EQ(SampleEditProgress::Invert(21474837, n), 72);
    EXPECT_EQ(SampleEditProgress::Invert(n - 1, n), 100);
    EXPECT_EQ(SampleEditProgress::Invert(0, n), 0);
}

TEST(SampleEditProgress, RulesCountTheFramesAsTheyAreShown) {
    // Fade shows before frame k and gain after it, both counting k + 1 frames; invert counts i.
    EXPECT_EQ(SampleEditProgress::Fade(0, 4), 25);
    EXPECT_EQ(SampleEditProgress::Gain(0, 4), 25);
    EXPECT_EQ(SampleEditProgress::Reverse(0, 4), 25);
    EXPECT_EQ(SampleEditProgress::Invert(0, 4), 0);
    EXPECT_EQ(SampleEditProgress::Invert(3, 4), 75);
    EXPECT_EQ(SampleEditProgress::Fade(0, 1), 100);
}

TEST(SampleEditProgress, PostRangeGivesWhatAPerFrameLoopPosts) {
    const SampleEditProgress::Rule rules[] = {SampleEditProgress::Fade, SampleEditProgress::Invert};
    for (const SampleEditProgress::Rule rule : rules)
        for (const int64_t n : {1, 2, 3, 7, 99, 100, 101, 199, 200, 1000, 12345, 100000})
            for (const int64_t block : {1, 3, 64, 16384}) {
                std::vector<int32_t> posted;
                int32_t last = 0;
                for (int64_t first = 0; first < n; first += block)
                    SampleEditProgress::PostRange(rule, first, std::min(n, first + block), n,
                                                  [&](int32_t value) {
                                                      if (value != last)
                                                          posted.push_back(last = value);
                                                  });
                EXPECT_EQ(posted, PerFrame(rule, n, 0)) << "n " << n << " block " << block;
            }
}

TEST(SampleEditProgress, PostRangeCallsOncePerDistinctValue) {
    std::vector<int32_t> calls;
    SampleEditProgress::PostRange(SampleEditProgress::Gain, 0, 1000, 1000,
                                  [&](int32_t value) { calls.push_back(value); });
    ASSERT_EQ(calls.size(), 101u); // 0 (frames 0 … 4 round to 0 or less than 1) … 100
    EXPECT_EQ(calls.front(), 0);
    EXPECT_EQ(calls.back(), 100);
}
