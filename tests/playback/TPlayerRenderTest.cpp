// The null device's capture is the oracle: what the player renders must be the range, byte for
// byte, and nothing else.
#include "IDirectSoundNotify.h"
#include "MainThreadDispatcher.h"
#include "NullSoundScope.h"
#include "PlayerTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

struct RangeCase {
    const char* name;
    std::vector<PieceSpec> pieces;
    int32_t rate;
    int64_t first;
    int64_t frames;
};

// At 8000 Hz stereo a segment is 500 frames (2000 bytes) and the buffer 8000 frames.
const std::vector<RangeCase> Ranges = {
    {"empty", {{false, 3000}}, 8000, 100, 0},
    {"one frame", {{false, 3000}}, 8000, 7, 1},
    {"segment minus a frame", {{false, 3000}}, 8000, 0, 499},
    {"segment plus a frame", {{false, 3000}}, 8000, 1, 501},
    {"sixteen segments plus a frame", {{false, 9000}}, 8000, 0, 8001},
    {"file, silence, file", {{false, 3000}, {true, 1000}, {false, 3000}}, 8000, 2500, 3000},
    {"44.1 kHz, sixteen segments plus a frame", {{false, 45000}}, 44100, 300, 16 * 2757 + 1},
};

/// Runs the player until it has stopped, stepping the manual clock or waiting on the steady
/// clock, and serving every notification on this thread.
void PlayToEnd(TPlayer& player, bool manual) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (player.IsPlaying() && std::chrono::steady_clock::now() < giveUp) {
        if (manual)
            NullSoundScope::Advance();
        else if (!MainThreadDispatcher::CheckSynchronize())
            MainThreadDispatcher::SyncEvent().Wait(20);
    }
    ASSERT_FALSE(player.IsPlaying()) << "playback did not end";
    NullSoundScope::Settle();
}

/// The device plays the range out to its last frame and then stops: nothing before, nothing
/// after.
void ExpectExactlyTheRange(const std::vector<uint8_t>& heard, const std::vector<uint8_t>& range,
                           const std::string& name) {
    EXPECT_EQ(heard.size(), range.size()) << name;
    EXPECT_TRUE(heard == range) << name << ": the heard bytes differ from the range";
}

void ExpectPositions(const PlayerRecord& record, uint32_t rangeBytes, const std::string& name) {
    ASSERT_FALSE(record.Positions.empty()) << name;
    EXPECT_TRUE(std::is_sorted(record.Positions.begin(), record.Positions.end())) << name;
    for (const int32_t p : record.Positions)
        EXPECT_LE(uint32_t(p), rangeBytes) << name;
    EXPECT_EQ(uint32_t(record.Positions.back()), rangeBytes) << name;
}

void PlayRanges(bool manual) {
    for (const RangeCase& c : Ranges) {
        NullSoundScope scope(manual);
        PlayerRig rig(2, c.rate, c.pieces);
        const uint32_t rangeBytes = uint32_t(c.frames * 4);
        rig.Player.Prepare(rig.Document, uint32_t(c.first * 2), rangeBytes, rig.Table.Format(),
                           false);
        rig.Player.Play();
        EXPECT_FALSE(rig.Document.Gate.IsSet()) << c.name << ": gate open while playing";
        PlayToEnd(rig.Player, manual);
        ExpectExactlyTheRange(NullSoundOutput::Captured(), rig.Table.Range(c.first, c.frames),
                              c.name);
        ExpectPositions(rig.Record, rangeBytes, c.name);
        // Prepare stops first (false), Play reports true, the end false.
        ASSERT_GE(rig.Record.Statuses.size(), 3u) << c.name;
        EXPECT_FALSE(rig.Record.Statuses[0]) << c.name;
        EXPECT_TRUE(rig.Record.Statuses[1]) << c.name;
        EXPECT_FALSE(rig.Record.Statuses.back()) << c.name;
        EXPECT_TRUE(rig.Document.Gate.IsSet()) << c.name;
        EXPECT_TRUE(rig.Record.Errors.empty()) << c.name;
    }
}

/// The looped range, cyclically, for as many bytes as were heard.
std::vector<uint8_t> Cycle(const std::vector<uint8_t>& range, size_t bytes) {
    std::vector<uint8_t> out(bytes);
    for (size_t i = 0; i < bytes; ++i)
        out[i] = range[i % range.size()];
    return out;
}

} // namespace

TEST(TPlayerRender, RangesPlayExactlyOnTheManualClock) {
    PlayRanges(true);
}

TEST(TPlayerRender, RangesPlayExactlyOnTheSteadyClock) {
    PlayRanges(false);
}

TEST(TPlayerRender, LoopingRepeatsTheRangeForThreeSeconds) {
    struct LoopCase {
        const char* name;
        int64_t first;
        int64_t frames;
    };
    // Shorter than a segment, shorter than the buffer, longer than the buffer.
    for (const LoopCase c :
         {LoopCase{"short", 5, 301}, LoopCase{"medium", 10, 2401}, LoopCase{"long", 0, 12003}}) {
        NullSoundScope scope;
        PlayerRig rig(2, 8000, {{false, 13000}}, 7);
        const uint32_t rangeBytes = uint32_t(c.frames * 4);
        rig.Player.Prepare(rig.Document, uint32_t(c.first * 2), rangeBytes, rig.Table.Format(),
                           true);
        rig.Player.Play();
        NullSoundScope::Advance(300);
        EXPECT_TRUE(rig.Player.IsPlaying()) << c.name;
        rig.Player.Close();
        const std::vector<uint8_t> heard = NullSoundOutput::Captured();
        EXPECT_EQ(heard.size(), 300u * 320) << c.name;
        EXPECT_EQ(heard, Cycle(rig.Table.Range(c.first, c.frames), heard.size())) << c.name;
        ASSERT_GE(rig.Record.Positions.size(), 40u) << c.name;
        for (const int32_t p : rig.Record.Positions)
            EXPECT_LE(uint32_t(p), rangeBytes) << c.name;
        EXPECT_TRUE(rig.Document.Gate.IsSet());
        EXPECT_FALSE(rig.Record.Statuses.back());
    }
}

TEST(TPlayerRender, LoopingAnEmptyRangePlaysItOnce) {
    NullSoundScope scope;
    PlayerRig rig(2, 8000, {{false, 1000}});
    rig.Player.Prepare(rig.Document, 2000, 0, rig.Table.Format(), true);
    rig.Player.Play();
    PlayToEnd(rig.Player, true);
    EXPECT_EQ(rig.Record.Positions, std::vector<int32_t>{0});
    const std::vector<uint8_t> heard = NullSoundOutput::Captured();
    EXPECT_TRUE(std::all_of(heard.begin(), heard.end(), [](uint8_t b) { return b == 0; }));
}

TEST(TPlayerRender, ANotificationHandledLateDoesNotCutTheEnd) {
    // 5.5 segments. The notification of the fourth boundary (8000 bytes, step 25) is handled
    // only at step 29, when the cursor is at 9280, past the range minus a segment (9000): the
    // end must still be judged by the boundary, so the last half segment is heard.
    NullSoundScope scope;
    PlayerRig rig(2, 8000, {{false, 4000}}, 3);
    rig.Player.Prepare(rig.Document, 0, 11000, rig.Table.Format(), false);
    rig.Player.Play();
    for (int step = 1; rig.Player.IsPlaying() && step < 200; ++step) {
        NullSoundOutput::Clock().Advance(10'000'000);
        if (step < 25 || step >= 29)
            NullSoundScope::Settle();
    }
    NullSoundScope::Settle();
    ExpectExactlyTheRange(NullSoundOutput::Captured(), rig.Table.Range(0, 2750), "late");
    ExpectPositions(rig.Record, 11000, "late");
}

TEST(TPlayerRender, AStopHandledLateHearsNothingAfterTheRange) {
    // 15.5 segments: when the end is written, most of the ring still holds the range; the device
    // ends at the range's last frame by itself, however late its stop is handled.
    NullSoundScope scope;
    PlayerRig rig(2, 8000, {{false, 9000}}, 4);
    const uint32_t rangeBytes = 31000;
    rig.Player.Prepare(rig.Document, 0, rangeBytes, rig.Table.Format(), false);
    rig.Player.Play();
    while (rig.Player.IsPlaying() &&
           (rig.Record.Positions.empty() || uint32_t(rig.Record.Positions.back()) < 26000))
        NullSoundScope::Advance();
    for (int step = 0; step < 25; ++step)
        NullSoundOutput::Clock().Advance(10'000'000);
    PlayToEnd(rig.Player, true);
    EXPECT_EQ(NullSoundOutput::Captured(), rig.Table.Range(0, rangeBytes / 4));
    EXPECT_EQ(uint32_t(rig.Record.Positions.back()), rangeBytes);
}
