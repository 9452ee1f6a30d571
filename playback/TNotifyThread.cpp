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
    : Shared(std::make_shared<State>()) {
    if (count + 1 > MaximumWaitObjects)
        throw EDirectSoundWrapperError("Notification positions exceed maximum of " +
                                       std::to_string(MaximumWaitObjects));
    State& state = *Shared;
    state.Handler = std::move(handler);
    state.Sender = sender;
    state.Notify = std::move(notify);
    state.Count = count;
    try {
        state.Positions.assign(count, DSBPOSITIONNOTIFY{0, nullptr});
        for (uint32_t i = 0; i < count; ++i) {
            state.PositionEvents.push_back(std::make_unique<Event>(false));
            state.Positions[i] = {offsets[i], state.PositionEvents.back().get()};
            state.Events.push_back(state.PositionEvents.back().get());
        }
        state.Events.push_back(&state.StopEvent);
    } catch (const std::bad_alloc&) {
        throw EDirectSoundWrapperError("Error creating event");
    }
    DSCheck(state.Notify->SetNotificationPositions(count, state.Positions.data()));
    Thread = std::thread([shared = Shared] { Execute(shared); });
}

TNotifyThread::~TNotifyThread() {
    Shared->Terminated = true;
    Shared->StopEvent.Set();
    if (Shared->Delivering && MainThreadDispatcher::IsMainThread()) {
        // Freed by the handler of its own delivery: the thread waits for that very handler, so
        // it cannot be joined here; it ends by itself when the delivery returns, without the
        // buffer, which goes now.
        Shared->Handler = nullptr;
        Shared->Notify->SetNotificationPositions(0, nullptr);
        Shared->Notify.reset();
        Thread.detach();
        return;
    }
    WaitForEnd();
    Thread.join();
    Shared->Notify->SetNotificationPositions(0, nullptr);
}

void TNotifyThread::WaitForEnd() {
    if (!MainThreadDispatcher::IsMainThread())
        return;
    // The thread may be handing a delivery to the main thread: serve it while waiting.
    std::array<Event*, 2> ends{&Shared->Finished, &MainThreadDispatcher::SyncEvent()};
    while (Event::WaitForAny(ends) != 0)
        MainThreadDispatcher::CheckSynchronize();
}

void TNotifyThread::Execute(const std::shared_ptr<State>& shared) {
    State& state = *shared;
    while (!state.Terminated) {
        const int r = Event::WaitForAny(state.Events);
        if (r < 0 || static_cast<uint32_t>(r) >= state.Count)
            continue;
        state.SignalledIndex = r;
        bool raised = false;
        try {
            MainThreadDispatcher::Synchronize([&state] { DoNotify(state); });
        } catch (...) {
            raised = true;
        }
        // Gone when the delivery freed this thread's object (and so its buffer).
        if (state.Notify)
            state.Notify->NotificationHandled();
        if (raised)
            break;
    }
    state.Finished.Set();
}

void TNotifyThread::DoNotify(State& state) {
    // A copy: the handler may free this thread's object, and with it the handler itself.
    const THandler handler = state.Handler;
    state.Delivering = true;
    try {
        handler(state.Sender, state.SignalledIndex);
    } catch (...) {
        state.Delivering = false;
        throw;
    }
    state.Delivering = false;
}
