#pragma once

#include <chrono>

/// Polls `ready` for at most `limit`, pausing the processor between polls; true as soon as it
/// returns true. For hand-offs between threads that come back within microseconds: waking a
/// sleeping thread costs far more than that, most of all on a virtual machine.
template <class Ready> bool SpinFor(std::chrono::microseconds limit, Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        // The clock is read once per batch of polls: it costs more than a poll.
        for (int i = 0; i < 64; ++i) {
            if (ready())
                return true;
#if defined(__x86_64__) || defined(__i386__)
            __builtin_ia32_pause();
#endif
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return ready();
    }
}
