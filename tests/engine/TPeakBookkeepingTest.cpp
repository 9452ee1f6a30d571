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
    struct Case {
        const char* name;
        size_t oldLength;
        uint32_t frames;
        uint16_t channels;
        Tindexdata insert;
        int64_t start, end;
        Tindexdata expected;
    };
    const std::vector<Case> cases{
        // Insert at frame 0: the insert first, then the last (frames div 512) × channels.
        {"insert at 0", 4, 2048, 1, {100, 101}, 0, 0, {100, 101, 1, 2, 3, 4}},
        {"insert at 0, partial last block", 3, 1100, 1, {100}, 0, 0, {100, 2, 3}},
        // Delete frames 100 … 199 of 1000 mono frames: (900 div 512) = 1 element, the last.
        {"delete inside first block", 2, 1000, 1, {}, 100, 200, {2}},
        {"stereo delete of a block", 6, 1536, 2, {}, 512, 1024, {1, 2, 5, 6}},
        {"paste in the middle", 4, 2048, 1, {100, 101}, 1024, 1024, {1, 2, 100, 101, 3, 4}},
        {"append at the end", 2, 1024, 1, {100}, 1024, 1024, {1, 2, 100}},
        {"delete everything", 3, 1500, 1, {}, 0, 1500, {}},
        // An index shorter than its frame count: head and tail stay inside it.
        {"short index, delete at start", 1, 2000, 1, {}, 0, 10, {1}},
        {"short index, insert past its end", 1, 2000, 1, {100}, 1500, 1500, {1, 100}},
        {"empty index, insert", 0, 4096, 2, {100, 101}, 1024, 1024, {100, 101}},
        {"short stereo index, delete", 2, 5120, 2, {}, 600, 700, {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Twavefile document;
        document.peakindex = Numbered(c.oldLength);
        document.frames = c.frames;
        document.channels = c.channels;
        Tindexdata result{999};
        document.splicepeaks(c.insert, result, c.start, c.end);
        EXPECT_EQ(result, c.expected);
    }
}

TEST(SplicePeaks, RepeatedEditsOnAShortIndexStayInBounds) {
    // Every step keeps `frames` ahead of the index, as after earlier rounded splices; run under
    // AddressSanitizer, any read outside the index fails.
    Twavefile document;
    document.channels = 2;
    document.frames = 100000;
    document.peakindex = Numbered(4);
    const struct {
        Tindexdata insert;
        int64_t start, end;
        int32_t frameChange;
    } steps[] = {
        {{}, 0, 50000, -50000},   {{7, 8, 9, 10}, 40000, 40000, 1024},
        {{}, 512, 51024, -50512}, {{1, 2}, 0, 0, 512},
        {{}, 0, 1536, -1536},
    };
    for (const auto& step : steps) {
        Tindexdata result;
        document.splicepeaks(step.insert, result, step.start, step.end);
        EXPECT_LE(result.size(), document.peakindex.size() + step.insert.size());
        document.peakindex = result;
        document.frames = uint32_t(int64_t(document.frames) + step.frameChange);
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
