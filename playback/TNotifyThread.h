#pragma once

#include "DirectSoundTypes.h"
#include "Event.h"
#include "IDirectSoundNotify.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class TDirectSoundBuffer;

/// Waits on a sound buffer's notification events and hands each signalled position to the main
/// thread (through `MainThreadDispatcher::Synchronize`), one at a time.
///
/// Position i of the offsets given to the constructor is reported as Index i. The constructor
/// registers the positions with the buffer and starts the thread; the destructor stops it,
/// serving on the main thread any delivery the thread has already handed over, and removes the
/// positions again. The object may also be freed by the handler of one of its own deliveries
/// (a handler that stops playback frees the buffer): the thread then ends by itself once that
/// delivery returns, and nothing more is delivered. A handler that raises ends the thread: no
/// further deliveries come.
class TNotifyThread {
public:
    using THandler = std::function<void(TDirectSoundBuffer* sender, int32_t index)>;

    static constexpr uint32_t MaximumWaitObjects = 64;

    /// Raises EDirectSoundWrapperError "Notification positions exceed maximum of 64" when
    /// count + 1 > 64, "Error creating event" when an event cannot be made, and
    /// EDirectSoundError when the buffer refuses the positions.
    TNotifyThread(TDirectSoundBuffer* sender, THandler handler,
                  std::shared_ptr<IDirectSoundNotify> notify, uint32_t count,
                  const uint32_t* offsets);
    ~TNotifyThread();
    TNotifyThread(const TNotifyThread&) = delete;
    TNotifyThread& operator=(const TNotifyThread&) = delete;

private:
    /// What the thread works with, shared with it, so that a thread released inside its own
    /// delivery can finish that delivery without its object.
    struct State {
        THandler Handler;
        TDirectSoundBuffer* Sender = nullptr;
        int32_t SignalledIndex = 0;
        std::shared_ptr<IDirectSoundNotify> Notify;
        Event StopEvent{true};
        Event Finished{true};
        std::atomic<bool> Terminated{false};
        bool Delivering = false;
        uint32_t Count = 0;
        std::vector<std::unique_ptr<Event>> PositionEvents;
        std::vector<DSBPOSITIONNOTIFY> Positions;
        std::vector<Event*> Events;
    };

    static void Execute(const std::shared_ptr<State>& state);
    static void DoNotify(State& state);
    void WaitForEnd();

    const std::shared_ptr<State> Shared;
    std::thread Thread;
};
