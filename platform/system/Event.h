#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <span>
#include <vector>

/// A kernel-style event: signalled or not, reset by hand (manual reset) or by the one wait that
/// it releases (auto reset). Any number of threads may set, reset and wait at once.
///
/// All events share one lock, which keeps waiting for any of several events simple and exact;
/// each wait has a condition of its own, and setting an event wakes only the waits on it.
class Event {
public:
    static constexpr uint32_t Infinite = 0xFFFFFFFF;
    static constexpr int Timeout = -1;
    static constexpr int MaxWaitObjects = 64;

    explicit Event(bool manualReset, bool initialState = false);
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void Set();
    void Reset();
    bool IsSet() const;

    /// Waits until the event is signalled or `timeoutMs` passed; true when signalled.
    bool Wait(uint32_t timeoutMs = Infinite);

    /// Waits until any of `events` (1 … 64 of them) is signalled; returns the index of the first
    /// signalled one in the list, or `Timeout`. Throws std::invalid_argument for a bad count.
    static int WaitForAny(std::span<Event* const> events, uint32_t timeoutMs = Infinite);

private:
    bool TryTake();

    const bool ManualReset;
    bool Signalled;
    /// The conditions of the waits on this event, under the shared lock.
    std::vector<std::condition_variable*> Waiters;
};
