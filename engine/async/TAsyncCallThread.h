#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class TThreadPool;

/// One worker of the thread pool: takes calls from the pool's queue and runs them, and sleeps
/// while the queue is empty until the pool wakes it. Before it sleeps it polls for a wake for a
/// short while, so a caller that queues calls one after another (a block at a time) finds it
/// awake. Created and joined by the pool.
class TAsyncCallThread {
public:
    explicit TAsyncCallThread(TThreadPool& pool);
    /// Joins the thread; call `ForceTerminate` first.
    ~TAsyncCallThread();
    TAsyncCallThread(const TAsyncCallThread&) = delete;
    TAsyncCallThread& operator=(const TAsyncCallThread&) = delete;

    /// Wakes the worker if it sleeps; a wake given before it sleeps is kept, never lost.
    void Resume();

    /// Makes the worker leave after the call it is running, if any.
    void ForceTerminate();

    /// Set while the worker waits for work; guarded by the pool's thread list lock.
    bool Idle = false;
    /// When the worker last became idle, in the pool's count of idle marks; the pool wakes the
    /// latest, which may still be polling rather than asleep. Guarded like `Idle`.
    uint64_t IdleSince = 0;

private:
    void Execute();
    void Sleep();

    TThreadPool& Pool;
    std::mutex WakeLock;
    std::condition_variable WakeSignal;
    std::atomic<bool> WakePending{false}; ///< written under WakeLock, polled without it
    std::atomic<bool> Terminated{false};
    std::thread Thread;
};
