#include "BitrateTables.h"
#include "Twavefile.h"

#include <gtest/gtest.h>

TEST(BitrateTables, HoldTheOfferedRates) {
    EXPECT_EQ(
        std::vector<int32_t>(HighRateBitrates.begin(), HighRateBitrates.end()),
        (std::vector<int32_t>{320, 256, 224, 192, 160, 128, 112, 96, 80, 64, 56, 48, 40, 32}));
    EXPECT_EQ(std::vector<int32_t>(LowRateBitrates.begin(), LowRateBitrates.end()),
              (std::vector<int32_t>{160, 144, 128, 112, 96, 80, 64, 56, 48, 40, 32, 24, 16, 8}));
}

TEST(BitrateTables, KbpsOfAListPositionFollowsTheDocumentRate) {
    struct Case {
        int32_t rate;
        int32_t index;
        int32_t kbps;
    } cases[] = {{44100, 0, 320},  {48000, 5, 128},  {32000, 13, 32},  {22050, 0, 160},
                 {16000, 13, 8},   {11025, 0, 128},  {8000, 11, 8},    {11025, 12, 128},
                 {96000, 0, 128},  {96000, 13, 128}, {44100, 14, 128}, {44100, -1, 128},
                 {22050, 14, 128}, {12000, 3, 128}};
    for (const Case& c : cases)
        EXPECT_EQ(BitrateKbps(c.rate, c.index), c.kbps) << c.rate << " Hz, position " << c.index;
}

TEST(BitrateTables, ListValuesByRate) {
    EXPECT_EQ(BitrateListFor(44100).size(), 14u);
    EXPECT_EQ(BitrateListFor(32000).front(), 320);
    EXPECT_EQ(BitrateListFor(22050),
              (std::vector<int32_t>{160, 144, 128, 112, 96, 80, 64, 56, 48, 40, 32, 24, 16, 8}));
    EXPECT_EQ(BitrateListFor(11025),
              (std::vector<int32_t>{128, 112, 96, 80, 64, 56, 48, 40, 32, 24, 16, 8}));
    EXPECT_EQ(BitrateListFor(8000).size(), 12u);
    EXPECT_TRUE(BitrateListFor(96000).empty());
    EXPECT_TRUE(BitrateListFor(0).empty());
}

TEST(BitrateTables, DocumentGivesKbpsForItsRate) {
    struct Case {
        int32_t rate;
        int32_t index;
        int32_t kbps;
    } cases[] = {{44100, 0, 320}, {22050, 0, 160}, {11025, 0, 128}, {96000, 4, 128}, {8000, 11, 8}};
    for (const Case& c : cases) {
        Twavefile document;
        document.samplerate = c.rate;
        EXPECT_EQ(document.bitratekbps(c.index), c.kbps) << c.rate;
    }
}
