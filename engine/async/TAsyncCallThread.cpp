#include "TAsyncCallThread.h"

#include "SpinWait.h"
#include "TAsyncCall.h"
#include "TThreadPool.h"

namespace {

/// How long an idle worker polls for the next call before it sleeps: longer than a block of the
/// fade and gain edits takes to compute.
constexpr std::chrono::microseconds IdlePoll{200};

} // namespace

TAsyncCallThread::TAsyncCallThread(TThreadPool& pool)
    : Pool(pool)
    , Thread([this] { Execute(); }) {}

TAsyncCallThread::~TAsyncCallThread() {
    if (Thread.joinable())
        Thread.join();
}

void TAsyncCallThread::Resume() {
    {
        std::lock_guard guard(WakeLock);
        WakePending = true;
    }
    WakeSignal.notify_one();
}

void TAsyncCallThread::ForceTerminate() {
    {
        std::lock_guard guard(WakeLock);
        Terminated = true;
    }
    WakeSignal.notify_one();
}

void TAsyncCallThread::Execute() {
    while (!Terminated) {
        if (TAsyncCall* call = Pool.Dequeue()) {
            call->RunCall();
            continue;
        }
        // Marked idle before looking again: a call queued after that look finds this worker
        // idle and wakes it, so no wake-up falls between the look and the sleep.
        Pool.SetIdle(*this, true);
        if (TAsyncCall* call = Pool.Dequeue()) {
            Pool.SetIdle(*this, false);
            call->RunCall();
            continue;
        }
        Sleep();
    }
}

void TAsyncCallThread::Sleep() {
    SpinFor(IdlePoll, [this] { return WakePending.load(std::memory_order_acquire) || Terminated; });
    std::unique_lock guard(WakeLock);
    WakeSignal.wait(guard, [this] { return WakePending || Terminated; });
    WakePending = false;
}
