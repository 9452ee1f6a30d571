#include "MainThreadDispatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace {

struct PendingCall {
    std::function<void()> call;
    bool waited = false;
    bool done = false;
    std::exception_ptr error;
};

struct DispatcherState {
    std::mutex lock;
    std::condition_variable finished;
    std::deque<std::shared_ptr<PendingCall>> pending;
    std::thread::id mainThread = std::this_thread::get_id();
    Event syncEvent{true};
};

DispatcherState& State() {
    static DispatcherState state;
    return state;
}

/// Lives on the main thread and serves hand-offs when the event loop delivers its wake-up event.
class DispatchReceiver : public QObject {
public:
    static int WakeType() {
        static const int type = QEvent::registerEventType();
        return type;
    }

    bool event(QEvent* e) override {
        if (e->type() != WakeType())
            return QObject::event(e);
        MainThreadDispatcher::CheckSynchronize();
        return true;
    }
};

DispatchReceiver*& Receiver() {
    static DispatchReceiver* receiver = nullptr;
    return receiver;
}

void Wake() {
    State().syncEvent.Set();
    if (Receiver() && QCoreApplication::instance())
        QCoreApplication::postEvent(
            Receiver(), new QEvent(static_cast<QEvent::Type>(DispatchReceiver::WakeType())));
}

void Run(PendingCall& call) {
    try {
        call.call();
    } catch (...) {
        if (call.waited)
            call.error = std::current_exception();
    }
}

} // namespace

void MainThreadDispatcher::SetMainThread() {
    State().mainThread = std::this_thread::get_id();
    if (!Receiver() && QCoreApplication::instance())
        Receiver() = new DispatchReceiver;
}

bool MainThreadDispatcher::IsMainThread() {
    return std::this_thread::get_id() == State().mainThread;
}

void MainThreadDispatcher::Synchronize(const std::function<void()>& call) {
    if (IsMainThread()) {
        call();
        return;
    }
    auto pending = std::make_shared<PendingCall>();
    pending->call = call;
    pending->waited = true;
    DispatcherState& state = State();
    std::unique_lock guard(state.lock);
    state.pending.push_back(pending);
    Wake();
    state.finished.wait(guard, [&] { return pending->done; });
    if (pending->error)
        std::rethrow_exception(pending->error);
}

void MainThreadDispatcher::Queue(std::function<void()> call) {
    auto pending = std::make_shared<PendingCall>();
    pending->call = std::move(call);
    std::lock_guard guard(State().lock);
    State().pending.push_back(pending);
    Wake();
}

bool MainThreadDispatcher::CheckSynchronize() {
    if (!IsMainThread())
        return false;
    DispatcherState& state = State();
    bool ran = false;
    for (;;) {
        std::shared_ptr<PendingCall> next;
        {
            std::lock_guard guard(state.lock);
            if (state.pending.empty()) {
                state.syncEvent.Reset();
                return ran;
            }
            next = state.pending.front();
            state.pending.pop_front();
        }
        Run(*next);
        ran = true;
        {
            std::lock_guard guard(state.lock);
            next->done = true;
        }
        state.finished.notify_all();
    }
}

Event& MainThreadDispatcher::SyncEvent() {
    return State().syncEvent;
}
