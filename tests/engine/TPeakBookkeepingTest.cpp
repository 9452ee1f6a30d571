#include "TPeakBookkeeping.h"

#include "TFilter.h"
#include "Twavefile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <random>
#include <span>

namespace {

/// Elements 1, 2, 3, … so that positions can be followed.
Tindexdata Numbered(size_t count, uint32_t first = 1) {
    Tindexdata index(count);
    std::iota(index.begin(), index.end(), first);
    return index;
}

} // namespace

TEST(UpdateLevels, FromThePeakIndex) {
    struct Case {
        const char* name;
        int32_t channels;
        Tindexdata index;
        std::array<int16_t, 8> peaks;
        int16_t peak;
        double leveldb;
    };
    const std::vector<Case> cases{
        {"empty index", 1, {}, {}, 0, -90.0},
        {"one mono element",
         1,
         {MakeIndexElement(16384, -8192)},
         {16384},
         16384,
         20 * std::log10(16384.0 / 32767)},
        {"minimum is larger",
         1,
         {MakeIndexElement(100, -200)},
         {200},
         200,
         20 * std::log10(200.0 / 32767)},
        {"-32768 counts as 32767", 1, {MakeIndexElement(0, -32768)}, {32767}, 32767, 0.0},
        {"stereo over blocks",
         2,
         {MakeIndexElement(10, -5), MakeIndexElement(3, -300), MakeIndexElement(700, 0),
          MakeIndexElement(2, -1)},
         {700, 300},
         700,
         20 * std::log10(700.0 / 32767)},
        {"partial block ignored",
         2,
         {MakeIndexElement(10, -5), MakeIndexElement(9, -9), MakeIndexElement(30000, 0)},
         {10, 9},
         10,
         20 * std::log10(10.0 / 32767)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Twavefile document;
        document.channels = uint16_t(c.channels);
        document.peakindex = c.index;
        document.peaks.fill(99);
        document.updatelevels();
        EXPECT_EQ(document.peaks, c.peaks);
        EXPECT_EQ(document.peak, c.peak);
        EXPECT_NEAR(document.leveldb, c.leveldb, 1e-9);
        EXPECT_LE(document.leveldb, 0.0);
    }
}

TEST(SplicePeaks, EditsOfThePeakIndex) {
    // Numbered elements have minimum 0, so a union of blocks is the largest number among them.
    struct Case {
        const char* name;
        size_t oldLength;
        uint32_t frames;
        uint16_t channels;
        Tindexdata insert;
        int64_t insertFrames;
        int64_t start, end;
        Tindexdata expected;
    };
    const std::vector<Case> cases{
        {"insert at 0", 4, 2048, 1, {100, 101}, 1024, 0, 0, {100, 101, 1, 2, 3, 4}},
        // 1612 frames: the old blocks move by 512 and keep their partial last block.
        {"insert at 0, partial last block", 3, 1100, 1, {100}, 512, 0, 0, {100, 1, 2, 3}},
        // Frames 100 … 199 of 1000 go: new block 0 holds frames of old blocks 0 and 1.
        {"delete inside first block", 2, 1000, 1, {}, 0, 100, 200, {2, 2}},
        {"stereo delete of a block", 6, 1536, 2, {}, 0, 512, 1024, {1, 2, 5, 6}},
        {"paste in the middle", 4, 2048, 1, {100, 101}, 1024, 1024, 1024, {1, 2, 100, 101, 3, 4}},
        // 300 frames at 700: every later block straddles two old ones.
        {"paste off the grid", 4, 2048, 1, {100}, 300, 700, 700, {1, 100, 3, 4, 4}},
        {"append at the end", 2, 1024, 1, {100}, 512, 1024, 1024, {1, 2, 100}},
        {"delete everything", 3, 1500, 1, {}, 0, 0, 1500, {}},
        // An index shorter than its frame count: blocks without an element hold 0 and 0.
        {"short index, delete at start", 1, 2000, 1, {}, 0, 0, 10, {1, 0, 0, 0}},
        {"empty index, insert", 0, 1024, 2, {100, 101}, 512, 512, 512, {0, 0, 100, 101, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Twavefile document;
        document.peakindex = Numbered(c.oldLength);
        document.frames = c.frames;
        document.channels = c.channels;
        Tindexdata result{999};
        document.splicepeaks(c.insert, c.insertFrames, result, c.start, c.end);
        EXPECT_EQ(result, c.expected);
    }
}

TEST(SplicePeaks, RangeAndReverseTakeTheUnionOfTheBlocksTheirFramesCameFrom) {
    // Stereo, 4 blocks: block b, channel c holds 2b + c + 1.
    const Tindexdata stereo = Numbered(8);
    // Frames 600 … 1699: own blocks from 600, 1112 and 1624.
    EXPECT_EQ(TPeakBookkeeping::Range(stereo, 2, 600, 1700), (Tindexdata{5, 6, 7, 8, 7, 8}));
    EXPECT_EQ(TPeakBookkeeping::Range(stereo, 2, 1024, 1536), (Tindexdata{5, 6}));
    EXPECT_EQ(TPeakBookkeeping::Range(stereo, 2, 5, 5), Tindexdata{});
    // 1100 mono frames reversed: new block 0 holds old frames 1099 … 588 (old blocks 2 and 1).
    EXPECT_EQ(TPeakBookkeeping::Reverse(Numbered(3), 1100, 1), (Tindexdata{3, 2, 1}));
    EXPECT_EQ(TPeakBookkeeping::Reverse(Numbered(4), 1024, 2), (Tindexdata{3, 4, 1, 2}));
}

namespace {

/// The plain index of a model's samples, block by block.
Tindexdata Exact(const std::vector<int16_t>& samples, int32_t channels) {
    TFilter builder(channels);
    builder.Feed(samples.data(), int64_t(samples.size()));
    Tindexdata index;
    if (!samples.empty())
        builder.GetIndexData(index);
    return index;
}

/// Every block of `index` reaches at least as far as the same block of the samples' own index.
::testing::AssertionResult Covers(const Tindexdata& index, const std::vector<int16_t>& samples,
                                  int32_t channels) {
    const Tindexdata exact = Exact(samples, channels);
    if (index.size() != exact.size())
        return ::testing::AssertionFailure() << index.size() << " elements, not " << exact.size();
    for (size_t i = 0; i < exact.size(); ++i)
        if (IndexMaximum(index[i]) < IndexMaximum(exact[i]) ||
            IndexMinimum(index[i]) > IndexMinimum(exact[i]))
            return ::testing::AssertionFailure() << "element " << i << " below the audio";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(SplicePeaks, EditedIndexNeverShowsLessThanTheAudio) {
    // Quiet noise with loud clicks, edited at random on a plain vector model: deletes, inserts
    // of copied ranges and reversals, the index kept only by the bookkeeping.
    std::mt19937 random(11);
    for (const int32_t channels : {1, 2, 3}) {
        std::uniform_int_distribution<int> quiet(-300, 300);
        std::vector<int16_t> samples(size_t(5000 * channels));
        for (int16_t& s : samples)
            s = int16_t(quiet(random));
        for (size_t i = 7; i < samples.size(); i += 611)
            samples[i] = int16_t(i % 2 ? 30000 : -29000);
        Tindexdata index = Exact(samples, channels);
        for (int step = 0; step < 60; ++step) {
            const int64_t frames = int64_t(samples.size()) / channels;
            std::uniform_int_distribution<int64_t> at(0, frames);
            int64_t a = at(random), b = at(random);
            if (a > b)
                std::swap(a, b);
            Twavefile document;
            document.channels = uint16_t(channels);
            document.frames = uint32_t(frames);
            document.peakindex = index;
            const auto first = samples.begin() + std::ptrdiff_t(a * channels);
            const auto last = samples.begin() + std::ptrdiff_t(b * channels);
            switch (step % 3) {
            case 0: { // delete a … b − 1
                document.splicepeaks({}, 0, index, a, b);
                samples.erase(first, last);
                break;
            }
            case 1: { // paste a copy of a … b − 1 at a random frame
                const std::vector<int16_t> clip(first, last);
                const Tindexdata clipIndex = TPeakBookkeeping::Range(index, channels, a, b);
                const int64_t f = at(random);
                document.splicepeaks(clipIndex, b - a, index, f, f);
                samples.insert(samples.begin() + std::ptrdiff_t(f * channels), clip.begin(),
                               clip.end());
                break;
            }
            default: { // reverse the frames
                index = TPeakBookkeeping::Reverse(index, frames, channels);
                std::vector<int16_t> reversed(samples.size());
                for (int64_t f = 0; f < frames; ++f)
                    std::copy_n(samples.begin() + std::ptrdiff_t(f * channels), channels,
                                reversed.begin() + std::ptrdiff_t((frames - 1 - f) * channels));
                samples = reversed;
            }
            }
            ASSERT_TRUE(Covers(index, samples, channels))
                << "channels " << channels << ", step " << step;
        }
    }
}

TEST(ReplacePeaks, WritesFromTheBlockOfTheStartFrame) {
    struct Case {
        const char* name;
        size_t oldLength;
        uint16_t channels;
        Tindexdata part;
        int64_t start;
        Tindexdata expected;
    };
    const std::vector<Case> cases{
        // Stereo from frame 1000: element 2 × (1000 div 512) = 2 on.
        {"stereo from 1000", 6, 2, {100, 101}, 1000, {1, 2, 100, 101, 5, 6}},
        {"from 0", 3, 1, {100}, 0, {100, 2, 3}},
        {"part beyond the end is dropped", 3, 1, {100, 101, 102}, 1024, {1, 2, 100}},
        {"start past the index", 2, 1, {100}, 5000, {1, 2}},
        {"empty part", 2, 1, {}, 0, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Twavefile document;
        document.peakindex = Numbered(c.oldLength);
        document.channels = c.channels;
        Tindexdata result;
        document.replacepeaks(c.part, result, c.start);
        EXPECT_EQ(result, c.expected);
        EXPECT_EQ(document.peakindex, Numbered(c.oldLength)); // the document's index is kept
    }
}

TEST(UpdateLevels, AgreesWithThePeakIndexBuilder) {
    // Levels recomputed from a builder's index must equal the builder's own levels, −32768
    // included, for every channel count.
    std::mt19937 random(3);
    for (int32_t channels = 1; channels <= 8; ++channels) {
        SCOPED_TRACE(channels);
        std::vector<int16_t> samples(size_t(channels) * 1500);
        for (int16_t& s : samples)
            s = int16_t(int32_t(random() % 20001) - 10000);
        samples[size_t(channels) * 700] = -32768; // channel 0 at full scale
        samples.back() = 12345;
        TFilter builder(channels);
        builder.Feed(samples.data(), int64_t(samples.size()));
        Twavefile document;
        document.channels = uint16_t(channels);
        builder.GetIndexData(document.peakindex);
        std::array<int16_t, 8> peaks{};
        int16_t peak = 0;
        double db = 0.0;
        builder.GetLevels(std::span<int16_t>(peaks.data(), size_t(channels)), peak, db);
        document.updatelevels();
        EXPECT_EQ(document.peaks, peaks);
        EXPECT_EQ(document.peak, peak);
        EXPECT_EQ(document.peak, 32767);
        EXPECT_DOUBLE_EQ(document.leveldb, db);
        EXPECT_EQ(document.leveldb, 0.0);
    }
}
