#include "SoundClock.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>

void SoundClock::SetManual(bool manual) {
    std::lock_guard guard(Lock);
    if (Attached != 0)
        throw std::logic_error("SoundClock: cannot change the clock while sound is playing");
    Manual = manual;
    ManualNow = 0;
}

bool SoundClock::IsManual() const {
    std::lock_guard guard(Lock);
    return Manual;
}

int64_t SoundClock::Now() const {
    std::lock_guard guard(Lock);
    return NowLocked();
}

int64_t SoundClock::NowLocked() const {
    if (Manual)
        return ManualNow;
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool SoundClock::Settled() const {
    const auto waiting = std::count_if(SleeperTargets.begin(), SleeperTargets.end(),
                                       [this](int64_t target) { return target > ManualNow; });
    return waiting >= Attached;
}

void SoundClock::Advance(int64_t nanoseconds) {
    std::unique_lock guard(Lock);
    if (!Manual)
        throw std::logic_error("SoundClock: only the manual clock can be advanced");
    ManualNow += nanoseconds;
    Changed.notify_all();
    Changed.wait(guard, [this] { return Settled(); });
}

void SoundClock::Attach() {
    std::lock_guard guard(Lock);
    ++Attached;
}

void SoundClock::Detach() {
    {
        std::lock_guard guard(Lock);
        --Attached;
    }
    Changed.notify_all();
}

bool SoundClock::SleepUntil(int64_t time, const std::atomic<bool>& interrupted) {
    std::unique_lock guard(Lock);
    if (!Manual) {
        const std::chrono::steady_clock::time_point due{std::chrono::nanoseconds(time)};
        Changed.wait_until(guard, due, [&] { return interrupted.load(); });
        return !interrupted && NowLocked() >= time;
    }
    SleeperTargets.push_back(time);
    Changed.notify_all();
    Changed.wait(guard, [&] { return ManualNow >= time || interrupted.load(); });
    SleeperTargets.erase(std::find(SleeperTargets.begin(), SleeperTargets.end(), time));
    return !interrupted;
}

void SoundClock::WakeAll() {
    std::lock_guard guard(Lock);
    Changed.notify_all();
}
