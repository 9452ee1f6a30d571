#include "TNotifyThread.h"

#include "DSCheck.h"
#include "EDirectSoundWrapperError.h"
#include "MainThreadDispatcher.h"

#include <array>
#include <new>
#include <string>

TNotifyThread::TNotifyThread(TDirectSoundBuffer* sender, THandler handler,
                             std::shared_ptr<IDirectSoundNotify> notify, uint32_t count,
                             const uint32_t* offsets)
    : Handler(std::move(handler))
    , Sender(sender)
    , Notify(std::move(notify))
    , Count(count) {
    if (count + 1 > MaximumWaitObjects)
        throw EDirectSoundWrapperError("Notification positions exceed maximum of " +
                                       std::to_string(MaximumWaitObjects));
    try {
        Positions.assign(count, DSBPOSITIONNOTIFY{0, nullptr});
        for (uint32_t i = 0; i < count; ++i) {
            PositionEvents.push_back(std::make_unique<Event>(false));
            Positions[i] = {offsets[i], PositionEvents.back().get()};
            Events.push_back(PositionEvents.back().get());
        }
        Events.push_back(&StopEvent);
    } catch (const std::bad_alloc&) {
        throw EDirectSoundWrapperError("Error creating event");
    }
    DSCheck(Notify->SetNotificationPositions(count, Positions.data()));
    Thread = std::thread([this] { Execute(); });
}

TNotifyThread::~TNotifyThread() {
    Terminated = true;
    StopEvent.Set();
    WaitForEnd();
    Thread.join();
    Notify->SetNotificationPositions(0, nullptr);
}

void TNotifyThread::WaitForEnd() {
    if (!MainThreadDispatcher::IsMainThread())
        return;
    // The thread may be handing a delivery to the main thread: serve it while waiting.
    std::array<Event*, 2> ends{&Finished, &MainThreadDispatcher::SyncEvent()};
    while (Event::WaitForAny(ends) != 0)
        MainThreadDispatcher::CheckSynchronize();
}

void TNotifyThread::Execute() {
    while (!Terminated) {
        const int r = Event::WaitForAny(Events);
        if (r < 0 || static_cast<uint32_t>(r) >= Count)
            continue;
        SignalledIndex = r;
        try {
            MainThreadDispatcher::Synchronize([this] { DoNotify(); });
        } catch (...) {
            Notify->NotificationHandled();
            break;
        }
        Notify->NotificationHandled();
    }
    Finished.Set();
}

void TNotifyThread::DoNotify() {
    Handler(Sender, SignalledIndex);
}
