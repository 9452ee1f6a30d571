#include "TGainTable.h"

#include <gtest/gtest.h>

namespace {

int16_t Entry(const std::vector<int16_t>& table, int v) {
    return table[size_t(v + 32768)];
}

} // namespace

TEST(TGainTable, UnitGainKeepsEverythingButTheLowestValue) {
    std::vector<int16_t> table;
    TGainTable::Build(1.0f, table);
    ASSERT_EQ(table.size(), 65536u);
    EXPECT_EQ(Entry(table, -32768), -32767);
    for (int v = -32767; v <= 32767; ++v)
        ASSERT_EQ(Entry(table, v), v);
}

TEST(TGainTable, HandComputedValues) {
    struct Case {
        float Gain;
        int Input;
        int Expected;
    };
    const Case cases[] = {
        {1.5f, 3, 4},           {1.5f, 5, 8},         {1.5f, -3, -4},
        {1.5f, 1001, 1502},     {1.5f, 10000, 15000}, {1.5f, 30000, 32767},
        {1.5f, -30000, -32767}, {2.0f, 100, 200},     {2.0f, 16384, 32767},
        {2.0f, -16384, -32767}, {2.0f, 16383, 32766}, {0.5f, 1, 0},
        {0.5f, 3, 2},           {0.5f, -1, 0},        {0.0f, 1234, 0},
        {-1.0f, -32768, 32767},
    };
    for (const Case& c : cases) {
        std::vector<int16_t> table;
        TGainTable::Build(c.Gain, table);
        EXPECT_EQ(Entry(table, c.Input), c.Expected) << c.Gain << " × " << c.Input;
    }
}

TEST(TGainTable, GainsOfNormaliseAndAmplify) {
    EXPECT_EQ(TGainTable::NormalizeGain(100, 16384), 2.0f);
    EXPECT_EQ(TGainTable::NormalizeGain(50, 32767), float(0.5L * 32768.0L / 32767.0L));
    EXPECT_EQ(TGainTable::AmplifyGain(150), 1.5f);
    EXPECT_EQ(TGainTable::AmplifyGain(10), 0.1f);
    EXPECT_EQ(TGainTable::AmplifyGain(101), 1.01f);
}
