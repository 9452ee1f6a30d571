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
/// positions again. A handler that raises ends the thread: no further deliveries come.
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
    void Execute();
    void DoNotify();
    void WaitForEnd();

    THandler Handler;
    TDirectSoundBuffer* const Sender;
    int32_t SignalledIndex = 0;
    const std::shared_ptr<IDirectSoundNotify> Notify;
    Event StopEvent{true};
    Event Finished{true};
    std::atomic<bool> Terminated{false};
    const uint32_t Count;
    std::vector<std::unique_ptr<Event>> PositionEvents;
    std::vector<DSBPOSITIONNOTIFY> Positions;
    std::vector<Event*> Events;
    std::thread Thread;
};
