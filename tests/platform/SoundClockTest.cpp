#include "SoundClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(SoundClock, ManualTimeMovesOnlyWhenAdvanced) {
    SoundClock clock;
    clock.SetManual(true);
    EXPECT_EQ(clock.Now(), 0);
    clock.Advance(10'000'000);
    clock.Advance(5);
    EXPECT_EQ(clock.Now(), 10'000'005);
}

TEST(SoundClock, AdvanceReturnsOnlyAfterAttachedSleepersCaughtUp) {
    SoundClock clock;
    clock.SetManual(true);
    std::atomic<bool> never{false};
    std::atomic<int> wakes{0};
    clock.Attach();
    std::thread sleeper([&] {
        for (int64_t due = 10; due <= 50; due += 10) {
            clock.SleepUntil(due, never);
            ++wakes;
        }
        clock.Detach();
    });
    // Each step releases exactly one sleep; the thread has counted it when Advance returns.
    for (int step = 1; step <= 5; ++step) {
        clock.Advance(10);
        EXPECT_EQ(wakes.load(), step);
    }
    sleeper.join();
}

TEST(SoundClock, InterruptEndsASleepAndModeChangesNeedNoSleepers) {
    SoundClock clock;
    clock.SetManual(true);
    std::atomic<bool> interrupted{false};
    clock.Attach();
    EXPECT_THROW(clock.SetManual(false), std::logic_error);
    bool timeCame = true;
    std::thread sleeper([&] { timeCame = clock.SleepUntil(1'000'000'000, interrupted); });
    interrupted = true;
    clock.WakeAll();
    sleeper.join();
    clock.Detach();
    EXPECT_FALSE(timeCame);
    EXPECT_EQ(clock.Now(), 0);
    clock.SetManual(false);
    EXPECT_THROW(clock.Advance(1), std::logic_error);
}
