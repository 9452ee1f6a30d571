// A main thread that is busy between its event-loop turns serves the player's notifications
// late and one at a time; what the null device hears must still be the range, byte for byte.
#include "IDirectSoundNotify.h"
#include "MainThreadDispatcher.h"
#include "NullSoundScope.h"
#include "PlayerTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// 8000 Hz stereo: 320 bytes a 10 ms step, a segment of 2000 bytes, a ring of 32000.
constexpr uint32_t StepBytes = 320;
constexpr uint32_t RangeBytes = 3 * 32000;

/// Waits until the notification thread has handed a delivery over, or has nothing to hand.
bool DeliveryWaiting() {
    for (int i = 0; i < 5000; ++i) {
        if (MainThreadDispatcher::SyncEvent().Wait(1))
            return true;
        if (IDirectSoundNotify::Outstanding() == 0)
            return false;
    }
    return false;
}

/// Steps the manual clock `busySteps` × 10 ms at a time and then serves the one notification
/// that is waiting, as an event-loop turn after a busy stretch does, until playback ends.
void PlayBusy(TPlayer& player, int busySteps) {
    for (int step = 0; player.IsPlaying() && step < 2000;) {
        for (int i = 0; i < busySteps; ++i, ++step)
            NullSoundOutput::Clock().Advance(10'000'000);
        if (DeliveryWaiting())
            MainThreadDispatcher::CheckSynchronize();
    }
    ASSERT_FALSE(player.IsPlaying()) << "playback did not end";
    NullSoundScope::Settle();
}

} // namespace

TEST(TPlayerStall, ABusyMainThreadNeverLetsAStaleSegmentPlay) {
    // Up to the ring's length less one segment (937.5 ms) between turns.
    for (const int busyMs : {10, 100, 500, 900}) {
        NullSoundScope scope;
        PlayerRig rig(2, 8000, {{false, 13000}, {false, 13000}}, 5);
        rig.Player.Prepare(rig.Document, 2 * 100, RangeBytes, rig.Table.Format(), false);
        rig.Player.Play();
        PlayBusy(rig.Player, busyMs / 10);
        EXPECT_TRUE(NullSoundOutput::Captured() == rig.Table.Range(100, RangeBytes / 4))
            << busyMs << " ms busy";
        ASSERT_FALSE(rig.Record.Positions.empty());
        EXPECT_EQ(uint32_t(rig.Record.Positions.back()), RangeBytes) << busyMs << " ms busy";
        EXPECT_TRUE(rig.Record.Errors.empty());
    }
}

TEST(TPlayerStall, AfterAStallLongerThanTheRingTheSoundGoesOnFromTheRightPlace) {
    NullSoundScope scope;
    PlayerRig rig(2, 8000, {{false, 25000}}, 6);
    rig.Player.Prepare(rig.Document, 0, RangeBytes, rig.Table.Format(), false);
    rig.Player.Play();
    NullSoundScope::Advance(100);
    for (int step = 0; step < 120; ++step) // 1.2 s without a turn of the event loop
        NullSoundOutput::Clock().Advance(10'000'000);
    for (int step = 0; rig.Player.IsPlaying() && step < 1000; ++step)
        NullSoundScope::Advance();
    ASSERT_FALSE(rig.Player.IsPlaying());
    const std::vector<uint8_t> heard = NullSoundOutput::Captured();
    const std::vector<uint8_t> range = rig.Table.Range(0, RangeBytes / 4);
    // The end is found where the range ends: no lap of stale or silent ring after it.
    ASSERT_EQ(heard.size(), range.size());
    // Before the stall and from the first write after the first refill after it (the device
    // takes a step ahead), exactly the range at the place the time has reached.
    const size_t stallEnd = 220 * StepBytes;
    const size_t resumed = stallEnd + 2 * StepBytes;
    EXPECT_TRUE(std::equal(range.begin(), range.begin() + stallEnd - 32000, heard.begin()));
    EXPECT_TRUE(std::equal(range.begin() + resumed, range.end(), heard.begin() + resumed));
    EXPECT_EQ(uint32_t(rig.Record.Positions.back()), RangeBytes);
    for (const int32_t p : rig.Record.Positions)
        EXPECT_LE(uint32_t(p), RangeBytes);
}
