#include "NullSoundScope.h"
#include "PlayerTestSupport.h"
#include "WaitFor.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

/// The meter level of an amplitude, computed here from its definition: decibels against full
/// scale (−90 dB below 1), 127 steps over 90 dB, 128 at full scale, truncated.
int16_t ExpectedLevel(int16_t sample) {
    const double amplitude = std::abs(int32_t(sample));
    const double db = amplitude < 1 ? -90.0 : 20.0 * std::log10(amplitude / 32767.0);
    return static_cast<int16_t>(std::trunc(db * 127.0 / 90.0 + 128.0));
}

const std::vector<int16_t> Constants = {0, 1, 2, 100, 16384, 32767, -32768, -1};

} // namespace

TEST(TPlayerLevels, ConstantChannelsGiveTheirLevels) {
    // Hand-checked anchors of the scale.
    EXPECT_EQ(ExpectedLevel(0), 1);
    EXPECT_EQ(ExpectedLevel(1), 0);
    EXPECT_EQ(ExpectedLevel(32767), 128);
    EXPECT_EQ(ExpectedLevel(-32768), 128);

    NullSoundScope scope;
    TempDir dir;
    const TestTable table = MakeConstantTable(dir, Constants, 4000);
    FakeDocument document(table.Table);
    TPlayer player;
    player.Prepare(document, 0, uint32_t(table.Bytes.size()), table.Format(), false);
    std::array<int16_t, 8> levels{};
    player.GetLevels(levels);
    for (size_t c = 0; c < Constants.size(); ++c)
        EXPECT_EQ(levels[c], ExpectedLevel(Constants[c])) << "channel " << c << " before playing";
    player.Play();
    NullSoundScope::Advance(20);
    levels.fill(-7);
    player.GetLevels(levels);
    for (size_t c = 0; c < Constants.size(); ++c)
        EXPECT_EQ(levels[c], ExpectedLevel(Constants[c])) << "channel " << c << " while playing";
    player.Close();
}

TEST(TPlayerLevels, LevelsFollowThePlayPosition) {
    // Mono: the first 500 frames (one segment) silent, then full scale.
    NullSoundScope scope;
    TempDir dir;
    TestTable table = MakeTable(dir, 1, 8000, {{true, 500}, {false, 4000}});
    FakeDocument document(table.Table);
    TPlayer player;
    player.Prepare(document, 0, uint32_t(table.Bytes.size()), table.Format(), false);
    std::array<int16_t, 1> level{};
    player.GetLevels(level);
    EXPECT_EQ(level[0], 1);
    int32_t played = 0;
    player.OnPlayProcess = [&](int32_t index) { played = index; };
    player.Play();
    ASSERT_TRUE(WaitFor([&] { return played != 0; }, 10, "the first play position",
                        [] { NullSoundScope::Advance(); }));
    player.GetLevels(level);
    const int16_t sample =
        int16_t(table.Bytes[size_t(played)] | table.Bytes[size_t(played) + 1] << 8);
    EXPECT_EQ(level[0], ExpectedLevel(sample));
    player.Close();
}

TEST(TPlayerLevels, NoMoreLevelsThanTheCallerHoldsAreWritten) {
    NullSoundScope scope;
    TempDir dir;
    const TestTable table = MakeConstantTable(dir, Constants, 100);
    FakeDocument document(table.Table);
    TPlayer player;
    player.Prepare(document, 0, uint32_t(table.Bytes.size()), table.Format(), false);
    std::array<int16_t, 6> levels;
    levels.fill(-7);
    player.GetLevels(std::span<int16_t>(levels).first(4));
    for (size_t c = 0; c < 4; ++c)
        EXPECT_EQ(levels[c], ExpectedLevel(Constants[c]));
    EXPECT_EQ(levels[4], -7);
    EXPECT_EQ(levels[5], -7);
}
