#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

/// The time base of the null sound device: the steady clock, or a manual clock that tests step.
///
/// Sound threads sleep on the clock with `SleepUntil`. In manual mode time only moves in
/// `Advance`, which returns once every thread attached to the clock has caught up (it sleeps
/// again for a later time or has left), so a test that steps the clock sees every effect of the
/// step when Advance returns. Times are nanoseconds. Thread-safe.
class SoundClock {
public:
    SoundClock() = default;
    SoundClock(const SoundClock&) = delete;
    SoundClock& operator=(const SoundClock&) = delete;

    /// Switches between the steady clock (false) and the manual clock (true), which starts at 0.
    /// Only allowed while no thread is attached; throws std::logic_error otherwise.
    void SetManual(bool manual);
    bool IsManual() const;

    int64_t Now() const;

    /// Moves manual time on by `nanoseconds` and waits until the attached threads have caught up.
    void Advance(int64_t nanoseconds);

    /// A thread that sleeps on the clock attaches before it starts and detaches when it ends.
    void Attach();
    void Detach();

    /// Sleeps until the clock reaches `time` or `interrupted` is set; true when the time came.
    bool SleepUntil(int64_t time, const std::atomic<bool>& interrupted);

    /// Wakes sleepers so that they test their `interrupted` flag.
    void WakeAll();

private:
    int64_t NowLocked() const;
    bool Settled() const;

    mutable std::mutex Lock;
    std::condition_variable Changed;
    bool Manual = false;
    int64_t ManualNow = 0;
    int Attached = 0;
    std::vector<int64_t> SleeperTargets;
};
