#pragma once

#include "IDirectSoundNotify.h"
#include "MainThreadDispatcher.h"
#include "NullSoundOutput.h"
#include "WaitFor.h"

#include <cstdlib>
#include <string>

/// Chooses the null sound device for the devices made in one test, puts it on its manual clock
/// (or, with `manual` false, the steady clock) and captures what it hears. `Advance` hands every
/// notification its steps cause to the main thread (this test thread) and runs it before it
/// returns; `StepClock` only steps, for tests that take the notifications themselves.
class NullSoundScope {
public:
    explicit NullSoundScope(bool manual = true) {
        const char* value = std::getenv("SONDRIX_AUDIO");
        HadValue = value != nullptr;
        Saved = HadValue ? value : "";
        setenv("SONDRIX_AUDIO", "null", 1);
        NullSoundOutput::Clock().SetManual(manual);
        NullSoundOutput::BeginCapture();
        GaveUp = false;
    }
    ~NullSoundScope() {
        NullSoundOutput::EndCapture();
        NullSoundOutput::Clock().SetManual(false);
        if (HadValue)
            setenv("SONDRIX_AUDIO", Saved.c_str(), 1);
        else
            unsetenv("SONDRIX_AUDIO");
    }
    NullSoundScope(const NullSoundScope&) = delete;
    NullSoundScope& operator=(const NullSoundScope&) = delete;

    /// Runs deliveries on this thread until every signalled position has been handled; fails the
    /// test when they are not handled within 10 s, and after that waits no more in this scope.
    static void Settle() {
        if (GaveUp)
            return;
        const ::testing::AssertionResult settled =
            WaitFor([] { return IDirectSoundNotify::Outstanding() == 0; }, 10,
                    "every signalled play position to be handled",
                    [] {
                        if (!MainThreadDispatcher::CheckSynchronize())
                            MainThreadDispatcher::SyncEvent().Wait(50);
                    });
        GaveUp = !settled;
        EXPECT_TRUE(settled);
    }

    /// Steps the clock by `steps` × 10 ms, settling after each step.
    static void Advance(int steps = 1) {
        for (int i = 0; i < steps; ++i) {
            StepClock();
            Settle();
        }
    }

    /// Steps the clock by `steps` × 10 ms and leaves the notifications to the caller.
    static void StepClock(int steps = 1) {
        for (int i = 0; i < steps; ++i)
            NullSoundOutput::Clock().Advance(10'000'000);
    }

private:
    static inline bool GaveUp = false;
    bool HadValue = false;
    std::string Saved;
};
