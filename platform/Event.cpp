#include "Event.h"

#include <condition_variable>
#include <mutex>
#include <stdexcept>

namespace {

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

std::condition_variable& Changed() {
    static std::condition_variable changed;
    return changed;
}

} // namespace

Event::Event(bool manualReset, bool initialState)
    : ManualReset(manualReset)
    , Signalled(initialState) {}

void Event::Set() {
    {
        std::lock_guard guard(Lock());
        Signalled = true;
    }
    Changed().notify_all();
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
    for (;;) {
        for (size_t i = 0; i < events.size(); ++i)
            if (events[i]->TryTake())
                return static_cast<int>(i);
        if (timeoutMs == Infinite)
            Changed().wait(guard);
        else if (Changed().wait_until(guard, deadline) == std::cv_status::timeout) {
            for (size_t i = 0; i < events.size(); ++i)
                if (events[i]->TryTake())
                    return static_cast<int>(i);
            return Timeout;
        }
    }
}
