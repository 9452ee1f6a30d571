#include "TThreadPool.h"

#include "Event.h"
#include "TAsyncCall.h"
#include "TAsyncCallThread.h"

#include <algorithm>

namespace {

int32_t WorkerLimit(int32_t processors) {
    return 4 * std::max(1, processors) - 2;
}

} // namespace

TThreadPool ThreadPool;

TThreadPool::TThreadPool(int32_t processorCount)
    : ProcessorCount(std::max(1, processorCount))
    , MaxThreads(WorkerLimit(processorCount)) {
    // The events' shared lock and condition must outlive the program's pool, whose workers may
    // still be setting an event when main returns. Statics end in the reverse order of their
    // creation, so using both now makes them end after the pool has joined its workers.
    Event(true).Set();
}

TThreadPool::~TThreadPool() {
    std::vector<std::unique_ptr<TAsyncCallThread>> workers;
    {
        std::lock_guard guard(ThreadsLock);
        workers.swap(Threads);
    }
    for (auto it = workers.rbegin(); it != workers.rend(); ++it)
        (*it)->ForceTerminate();
    std::deque<TAsyncCall*> abandoned;
    {
        std::lock_guard guard(QueueLock);
        abandoned.swap(Queue);
    }
    for (auto it = abandoned.rbegin(); it != abandoned.rend(); ++it)
        (*it)->Abandon();
    workers.clear(); // joins each worker after the call it is running
}

void TThreadPool::Enqueue(TAsyncCall* call) {
    {
        std::lock_guard guard(QueueLock);
        Queue.push_back(call);
    }
    try {
        WakeOrStartWorker();
    } catch (...) {
        // Without any worker nobody would ever take the call.
        if (ThreadCount() > 0)
            return;
        RemoveCall(call);
        throw;
    }
}

void TThreadPool::WakeOrStartWorker() {
    std::lock_guard guard(ThreadsLock);
    TAsyncCallThread* latest = nullptr;
    for (const auto& worker : Threads)
        if (worker->Idle && (!latest || worker->IdleSince > latest->IdleSince))
            latest = worker.get();
    if (latest) {
        latest->Idle = false;
        latest->Resume();
        return;
    }
    if (static_cast<int32_t>(Threads.size()) < MaxThreads)
        AllocThread();
}

TAsyncCall* TThreadPool::Dequeue() {
    std::lock_guard guard(QueueLock);
    if (Queue.empty())
        return nullptr;
    TAsyncCall* call = Queue.front();
    Queue.pop_front();
    return call;
}

bool TThreadPool::RemoveCall(TAsyncCall* call) {
    std::lock_guard guard(QueueLock);
    const auto it = std::find(Queue.begin(), Queue.end(), call);
    if (it == Queue.end())
        return false;
    Queue.erase(it);
    return true;
}

void TThreadPool::SetIdle(TAsyncCallThread& worker, bool idle) {
    std::lock_guard guard(ThreadsLock);
    worker.Idle = idle;
    if (idle)
        worker.IdleSince = ++IdleMarks;
}

int32_t TThreadPool::ThreadCount() const {
    std::lock_guard guard(ThreadsLock);
    return static_cast<int32_t>(Threads.size());
}

int32_t TThreadPool::IdleThreadCount() const {
    std::lock_guard guard(ThreadsLock);
    return static_cast<int32_t>(
        std::count_if(Threads.begin(), Threads.end(), [](const auto& w) { return w->Idle; }));
}

void TThreadPool::AllocThread() {
    Threads.reserve(Threads.size() + 1); // a started worker must not be dropped by a failed push
    Threads.push_back(std::make_unique<TAsyncCallThread>(*this));
}
