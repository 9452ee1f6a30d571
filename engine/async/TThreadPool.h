#pragma once

#include "AvailableProcessorCount.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

class TAsyncCall;
class TAsyncCallThread;

/// Runs queued calls on worker threads that start on demand, at most 4 × processors − 2 of them,
/// and are kept until the pool ends. Safe from any thread.
///
/// The program's one pool is `ThreadPool`; it ends when the program does, after the calls that
/// are running have finished. Calls still queued then never run: their waiters get
/// EAsyncCallError. Callers queue work with `AsyncLocalCall` (AsyncLocalCall.h).
class TThreadPool {
public:
    /// `processorCount` sets the limit of workers (tests pass their own).
    explicit TThreadPool(int32_t processorCount = AvailableProcessorCount());
    ~TThreadPool();
    TThreadPool(const TThreadPool&) = delete;
    TThreadPool& operator=(const TThreadPool&) = delete;

    /// Queues a call and wakes the worker that became idle last, or starts one while below
    /// `MaxThreads`. When it throws, the call is not queued.
    void Enqueue(TAsyncCall* call);

    /// Takes the oldest queued call, or nullptr.
    TAsyncCall* Dequeue();

    /// Takes `call` out of the queue; false when a worker has taken it already.
    bool RemoveCall(TAsyncCall* call);

    /// Marks a worker idle or busy (workers call this about themselves).
    void SetIdle(TAsyncCallThread& worker, bool idle);

    int32_t ThreadCount() const;
    int32_t IdleThreadCount() const;

    const int32_t ProcessorCount;
    const int32_t MaxThreads;

private:
    void WakeOrStartWorker();
    void AllocThread();

    mutable std::mutex ThreadsLock;
    std::vector<std::unique_ptr<TAsyncCallThread>> Threads;
    uint64_t IdleMarks = 0; ///< guarded by ThreadsLock
    std::mutex QueueLock;
    std::deque<TAsyncCall*> Queue;
};

/// The program's pool, created before main runs; it starts no thread until the first call.
extern TThreadPool ThreadPool;
