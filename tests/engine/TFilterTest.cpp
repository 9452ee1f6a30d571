// The peak index builder against a plain per-block model and against values worked out by hand.
#include "TFilter.h"
#include "Signals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

/// Block maxima start from 0; minima from 32767 for one or two channels and from 0 for more.
Tindexdata ModelIndex(const std::vector<int16_t>& samples, int32_t channels) {
    const int64_t frames = static_cast<int64_t>(samples.size()) / channels;
    const int64_t blocks = (frames + 511) / 512;
    Tindexdata index;
    for (int64_t b = 0; b < blocks; ++b)
        for (int32_t c = 0; c < channels; ++c) {
            int16_t lo = channels <= 2 ? 32767 : 0;
            int16_t hi = 0;
            for (int64_t f = b * 512; f < std::min(frames, (b + 1) * 512); ++f) {
                lo = std::min(lo, samples[f * channels + c]);
                hi = std::max(hi, samples[f * channels + c]);
            }
            index.push_back(MakeIndexElement(hi, lo));
        }
    return index;
}

Tindexdata BuildIndex(const std::vector<int16_t>& samples, int32_t channels, size_t chunk) {
    TFilter filter(channels);
    for (size_t done = 0; done < samples.size(); done += chunk)
        filter.Feed(samples.data() + done, std::min(chunk, samples.size() - done));
    Tindexdata index;
    filter.GetIndexData(index);
    return index;
}

TEST(TFilter, BlocksAreStartedBlocksOfFiveHundredTwelveFrames) {
    struct Case {
        int64_t Frames;
        int64_t Blocks;
    };
    const Case cases[] = {{1, 1},    {511, 1},  {512, 1},   {513, 2},   {1000, 2},
                          {1024, 2}, {1025, 3}, {5000, 10}, {5120, 10}, {5121, 11}};
    for (int32_t channels : {1, 2, 3, 6, 8})
        for (const Case& c : cases) {
            const auto samples = UniformNoise(c.Frames * channels, 1);
            const Tindexdata index = BuildIndex(samples, channels, samples.size());
            EXPECT_EQ(index.size(), static_cast<size_t>(c.Blocks * channels))
                << c.Frames << " frames, " << channels << " channels";
        }
}

TEST(TFilter, IndexDoesNotDependOnChunkSizes) {
    for (int32_t channels : {1, 2, 3, 5, 8}) {
        const auto samples = UniformNoise(3001 * channels, channels);
        const Tindexdata expected = ModelIndex(samples, channels);
        for (size_t chunk : {size_t(1), size_t(3), size_t(511), size_t(512), size_t(513),
                             size_t(1024 * channels + 1), size_t(4096), samples.size()})
            EXPECT_EQ(BuildIndex(samples, channels, chunk), expected)
                << channels << " channels, chunks of " << chunk;
    }
}

TEST(TFilter, ThousandMonoFramesSplitAtFrame512) {
    std::vector<int16_t> samples(1000, 0);
    samples[511] = 300;  // last frame of block 0
    samples[512] = -400; // first frame of block 1
    samples[999] = 500;
    const Tindexdata index = BuildIndex(samples, 1, samples.size());
    ASSERT_EQ(index.size(), 2u);
    EXPECT_EQ(index[0], MakeIndexElement(300, 0));
    EXPECT_EQ(index[1], MakeIndexElement(500, -400));
}

TEST(TFilter, StartValuesDependOnTheChannelCount) {
    struct Case {
        int32_t Channels;
        int16_t Value;
        int16_t Max;
        int16_t Min;
    };
    const Case cases[] = {{1, 100, 100, 100}, {1, -100, 0, -100}, {2, 100, 100, 100},
                          {2, -100, 0, -100}, {3, 100, 100, 0},   {3, -100, 0, -100},
                          {4, 100, 100, 0}};
    for (const Case& c : cases) {
        const std::vector<int16_t> samples(512 * c.Channels, c.Value);
        const Tindexdata index = BuildIndex(samples, c.Channels, samples.size());
        ASSERT_EQ(index.size(), static_cast<size_t>(c.Channels));
        for (uint32_t element : index) {
            EXPECT_EQ(IndexMaximum(element), c.Max) << c.Channels << " channels of " << c.Value;
            EXPECT_EQ(IndexMinimum(element), c.Min) << c.Channels << " channels of " << c.Value;
        }
    }
}

TEST(TFilter, StereoChannelsKeepTheirOrderForEveryBlockLength) {
    for (int32_t frames = 1; frames <= 512; ++frames) {
        std::vector<int16_t> samples;
        for (int32_t f = 0; f < 512 + frames; ++f) {
            samples.push_back(1000);
            samples.push_back(-2000);
        }
        const Tindexdata index = BuildIndex(samples, 2, 700);
        ASSERT_EQ(index.size(), 4u);
        ASSERT_EQ(index[2], MakeIndexElement(1000, 1000)) << frames;
        ASSERT_EQ(index[3], MakeIndexElement(0, -2000)) << frames;
    }
}

TEST(TFilter, NothingFedGivesOneEmptyBlock) {
    for (int32_t channels : {1, 2, 3}) {
        TFilter filter(channels);
        Tindexdata index;
        filter.GetIndexData(index);
        ASSERT_EQ(index.size(), static_cast<size_t>(channels));
        const int16_t min = channels <= 2 ? 32767 : 0;
        EXPECT_EQ(index[0], MakeIndexElement(0, min));
        std::array<int16_t, 8> peaks{};
        int16_t peak = 0;
        double db = 1;
        filter.GetLevels(peaks, peak, db);
        EXPECT_EQ(peaks[0], min);
    }
}

TEST(TFilter, LevelsOfSilenceAndOneFullScaleSample) {
    std::vector<int16_t> samples(2 * 700, 0);
    samples[2 * 650 + 1] = 32767;
    TFilter filter(2);
    filter.Feed(samples.data(), samples.size());
    Tindexdata index;
    filter.GetIndexData(index);
    std::array<int16_t, 8> peaks{};
    int16_t peak = 0;
    double db = -1;
    filter.GetLevels(peaks, peak, db);
    EXPECT_EQ(peaks[0], 0);
    EXPECT_EQ(peaks[1], 32767);
    EXPECT_EQ(peak, 32767);
    EXPECT_DOUBLE_EQ(db, 0.0);
}

TEST(TFilter, LevelsOfKnownData) {
    // Channel 0 peaks at −16384 (20·log10(16384/32767) ≈ −6.0203 dB), channel 1 at 8000,
    // channel 2 at 12; the overall peak is channel 0's magnitude.
    std::vector<int16_t> samples(3 * 2000, 0);
    samples[3 * 100] = -16384;
    samples[3 * 1500] = 16000;
    samples[3 * 7 + 1] = 8000;
    samples[3 * 1999 + 1] = -7999;
    samples[3 * 600 + 2] = -12;
    TFilter filter(3);
    filter.Feed(samples.data(), samples.size());
    Tindexdata index;
    filter.GetIndexData(index);
    std::array<int16_t, 8> peaks{};
    int16_t peak = 0;
    double db = 0;
    filter.GetLevels(peaks, peak, db);
    EXPECT_EQ(peaks[0], 16384);
    EXPECT_EQ(peaks[1], 8000);
    EXPECT_EQ(peaks[2], 12);
    EXPECT_EQ(peak, 16384);
    EXPECT_NEAR(db, -6.0203, 1e-4);
}

TEST(TFilter, MostNegativeSampleCountsAsFullScale) {
    for (int32_t channels : {1, 2, 3}) {
        std::vector<int16_t> samples(channels * 600, 0);
        samples[channels * 10] = -32768;
        samples[channels * 550] = 100; // a later block must not lower the peak
        TFilter filter(channels);
        filter.Feed(samples.data(), samples.size());
        Tindexdata index;
        filter.GetIndexData(index);
        EXPECT_EQ(IndexMinimum(index[0]), -32768);
        std::array<int16_t, 8> peaks{};
        int16_t peak = 0;
        double db = -1;
        filter.GetLevels(peaks, peak, db);
        EXPECT_EQ(peaks[0], 32767) << channels;
        EXPECT_EQ(peak, 32767) << channels;
        EXPECT_DOUBLE_EQ(db, 0.0) << channels;
    }
}

TEST(TFilter, OverallPeakSurvivesReset) {
    TFilter filter(1);
    std::vector<int16_t> loud(100, 20000);
    filter.Feed(loud.data(), loud.size());
    Tindexdata index;
    filter.GetIndexData(index);
    std::array<int16_t, 8> peaks{};
    int16_t peak = 0;
    double db = 0;
    filter.GetLevels(peaks, peak, db);
    EXPECT_EQ(peak, 20000);

    filter.Reset();
    std::vector<int16_t> quiet(100, 50);
    filter.Feed(quiet.data(), quiet.size());
    filter.GetIndexData(index);
    EXPECT_EQ(index, (Tindexdata{MakeIndexElement(50, 50)}));
    filter.GetLevels(peaks, peak, db);
    EXPECT_EQ(peaks[0], 50);
    EXPECT_EQ(peak, 20000);
}

TEST(TFilter, MoreThanEightChannelsStayInsideTheirFields) {
    std::vector<int16_t> samples(10 * 3);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(i % 10 * 100 + 1);
    TFilter filter(10);
    filter.Feed(samples.data(), samples.size());
    Tindexdata index;
    filter.GetIndexData(index);
    EXPECT_EQ(index, ModelIndex(samples, 10));
    std::array<int16_t, 8> peaks{};
    int16_t peak = 0;
    double db = 0;
    filter.GetLevels(peaks, peak, db);
    EXPECT_EQ(peaks[7], 701);
    EXPECT_EQ(peak, 901);
}

TEST(TFilter, RejectsChannelCountsOutsideTheRange) {
    EXPECT_THROW(TFilter(0), std::invalid_argument);
    EXPECT_THROW(TFilter(-2), std::invalid_argument);
    EXPECT_THROW(TFilter(65536), std::invalid_argument);
    EXPECT_NO_THROW(TFilter(65535));
}

} // namespace
