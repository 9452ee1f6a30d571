// The two values of a pixel column: maximum first from samples, occurrence order from peaks, and
// nothing from beyond the document's end.
#include "TWaveColumn.h"

#include "FakeUserInterface.h"
#include "Settings.h"
#include "TLargeFile.h"
#include "TestDocument.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

namespace {

/// A table over a temporary sample file of the given interleaved samples.
std::unique_ptr<TLargeFile> Table(TempDir& dir, const std::vector<int16_t>& samples,
                                  int32_t channels) {
    const std::string path = dir.File("column.wav");
    WriteSampleFile(path, channels, 8000, samples);
    auto table = std::make_unique<TLargeFile>("column", channels, 8000);
    table->Add({int64_t(samples.size() * 2), TChunk::FileBacked, path, 44});
    table->UpdateSize();
    return table;
}

} // namespace

TEST(TWaveColumnTest, SamplesGiveMaximumThenMinimumPerChannel) {
    TempDir dir;
    // Frames (left, right): (5, −1), (−7, 2), (3, 9), (100, −100).
    auto table = Table(dir, {5, -1, -7, 2, 3, 9, 100, -100}, 2);
    const TWaveColumn column = TWaveColumn::FromSamples(*table, 4, 0, 3, 2);
    EXPECT_TRUE(column.Any);
    EXPECT_EQ(column.First[0], 5);
    EXPECT_EQ(column.Second[0], -7);
    EXPECT_EQ(column.First[1], 9);
    EXPECT_EQ(column.Second[1], -1);
}

TEST(TWaveColumnTest, FramesPastTheEndTakeNoPart) {
    TempDir dir;
    auto table = Table(dir, {1, 2, 3, 4}, 1);
    TWaveColumn column = TWaveColumn::FromSamples(*table, 3, 2, 5, 1);
    EXPECT_TRUE(column.Any);
    EXPECT_EQ(column.First[0], 3);
    EXPECT_EQ(column.Second[0], 3);
    column = TWaveColumn::FromSamples(*table, 3, 3, 5, 1);
    EXPECT_FALSE(column.Any);
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
