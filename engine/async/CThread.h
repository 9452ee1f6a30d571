#pragma once

#include "TWorkerTable.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <functional>
#include <thread>

class Event;
class Twavefile;

/// The thread of one document operation: waits for the document's playback gate, runs the worker
/// and reports an exception on the main thread. Created suspended; `Resume` starts it. When the
/// worker has returned, `OnTerminate` runs on the main thread (handed over through the main-thread
/// dispatcher); the owner may destroy the thread object from that handler.
class CThread {
public:
    /// Result codes of `ReturnValue`.
    static constexpr int32_t Succeeded = 1;
    static constexpr int32_t Failed = 0;
    static constexpr int32_t ErrorShown = -1;

    CThread(TWorker worker, Twavefile& document);
    ~CThread();
    CThread(const CThread&) = delete;
    CThread& operator=(const CThread&) = delete;

    /// Starts the thread. Call once, on the main thread, after setting the fields below.
    void Resume();

    TWorker Worker;
    Twavefile& Document;
    /// The playback gate; the worker runs only once it is signalled. Not owned.
    Event* Gate = nullptr;
    /// The exception being reported; set only while `reporterror` runs.
    std::exception_ptr ErrorObject;
    /// 1 success, 0 a failure the worker reported itself, −1 after an exception was shown.
    std::atomic<int32_t> ReturnValue{Succeeded};
    /// Runs on the main thread after the worker has returned.
    std::function<void(CThread& sender)> OnTerminate;

private:
    void Run();
    void Execute();
    void reporterror(std::exception_ptr error);
    void showerror();
    void Terminated();

    std::thread Thread;
};
