#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

class TThreadPool;

/// One worker of the thread pool: takes calls from the pool's queue and runs them, and sleeps
/// while the queue is empty until the pool wakes it. Created and joined by the pool.
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

private:
    void Execute();
    void Sleep();

    TThreadPool& Pool;
    std::mutex WakeLock;
    std::condition_variable WakeSignal;
    bool WakePending = false;
    std::atomic<bool> Terminated{false};
    std::thread Thread;
};
