#include "Event.h"

#include <condition_variable>
#include <mutex>
#include <stdexcept>

namespace {

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

} // namespace

Event::Event(bool manualReset, bool initialState)
    : ManualReset(manualReset)
    , Signalled(initialState) {}

void Event::Set() {
    // Notified under the lock: a wait's condition lives only until that wait returns, which
    // needs the lock.
    std::lock_guard guard(Lock());
    Signalled = true;
    for (std::condition_variable* waiter : Waiters)
        waiter->notify_one();
}

void Event::Reset() {
    std::lock_guard guard(Lock());
    Signalled = false;
}

bool Event::IsSet() const {
    std::lock_guard guard(Lock());
    return Signalled;
}

bool Event::TryTake() {
    if (!Signalled)
        return false;
    if (!ManualReset)
        Signalled = false;
    return true;
}

bool Event::Wait(uint32_t timeoutMs) {
    Event* self = this;
    return WaitForAny(std::span<Event* const>(&self, 1), timeoutMs) == 0;
}

int Event::WaitForAny(std::span<Event* const> events, uint32_t timeoutMs) {
    if (events.empty() || events.size() > MaxWaitObjects)
        throw std::invalid_argument("Event::WaitForAny: between 1 and 64 events");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock guard(Lock());
    // The wait's own condition stands in each of its events for as long as it waits.
    std::condition_variable wake;
    struct Registration {
        Registration(std::span<Event* const> events, std::condition_variable* condition)
            : Events(events)
            , Condition(condition) {
            for (Event* event : Events)
                event->Waiters.push_back(Condition);
        }
        ~Registration() {
            for (Event* event : Events)
                std::erase(event->Waiters, Condition);
        }
        std::span<Event* const> Events;
        std::condition_variable* Condition;
    } const registration(events, &wake);
    for (;;) {
        for (size_t i = 0; i < events.size(); ++i)
            if (events[i]->TryTake())
                return static_cast<int>(i);
        if (timeoutMs == Infinite)
            wake.wait(guard);
        else if (wake.wait_until(guard, deadline) == std::cv_status::timeout) {
            for (size_t i = 0; i < events.size(); ++i)
                if (events[i]->TryTake())
                    return static_cast<int>(i);
            return Timeout;
        }
    }
}
