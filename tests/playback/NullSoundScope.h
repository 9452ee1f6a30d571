#pragma once

#include "IDirectSoundNotify.h"
#include "MainThreadDispatcher.h"
#include "NullSoundOutput.h"

#include <cstdlib>
#include <string>

/// Chooses the null sound device for the devices made in one test, puts it on its manual clock
/// (or, with `manual` false, the steady clock) and captures what it hears. Steps hand every
/// notification they cause to the main thread (this test thread) and run it before they return.
class NullSoundScope {
public:
    explicit NullSoundScope(bool manual = true) {
        const char* value = std::getenv("SONDRIX_AUDIO");
        HadValue = value != nullptr;
        Saved = HadValue ? value : "";
        setenv("SONDRIX_AUDIO", "null", 1);
        NullSoundOutput::Clock().SetManual(manual);
        NullSoundOutput::BeginCapture();
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

    /// Runs deliveries on this thread until every signalled position has been handled.
    static void Settle() {
        while (IDirectSoundNotify::Outstanding() > 0)
            if (!MainThreadDispatcher::CheckSynchronize())
                MainThreadDispatcher::SyncEvent().Wait(50);
    }

    /// Steps the clock by `steps` × 10 ms, settling after each step.
    static void Advance(int steps = 1) {
        for (int i = 0; i < steps; ++i) {
            NullSoundOutput::Clock().Advance(10'000'000);
            Settle();
        }
    }

private:
    bool HadValue = false;
    std::string Saved;
};
