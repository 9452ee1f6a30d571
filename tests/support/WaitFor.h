#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

/// Waits at most `seconds` for `condition` to hold, so that a test whose awaited state never comes
/// fails with a message naming `what` instead of hanging until the test runner's timeout. Between
/// polls it runs `between`: by default a 1 ms sleep; a GUI test passes a step that processes Qt
/// events, a test on a manual clock one that steps the clock.
///
///     ASSERT_TRUE(WaitFor([&] { return running == 2; }, 10, "both calls running"));
inline ::testing::AssertionResult WaitFor(const std::function<bool()>& condition, double seconds,
                                          const char* what,
                                          const std::function<void()>& between = {}) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= giveUp)
            return ::testing::AssertionFailure()
                   << "gave up after " << seconds << " s waiting for " << what;
        if (between)
            between();
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return ::testing::AssertionSuccess();
}
