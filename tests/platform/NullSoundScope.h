#pragma once

#include "NullSoundOutput.h"

/// Puts the null sound device on its manual clock and captures what it hears, for one test.
class NullSoundScope {
public:
    NullSoundScope() {
        NullSoundOutput::Clock().SetManual(true);
        NullSoundOutput::BeginCapture();
    }
    ~NullSoundScope() {
        NullSoundOutput::EndCapture();
        NullSoundOutput::Clock().SetManual(false);
    }
    NullSoundScope(const NullSoundScope&) = delete;
    NullSoundScope& operator=(const NullSoundScope&) = delete;

    /// Steps the clock by `steps` × 10 ms.
    static void Advance(int steps = 1) {
        for (int i = 0; i < steps; ++i)
            NullSoundOutput::Clock().Advance(10'000'000);
    }
};
