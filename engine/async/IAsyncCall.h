#pragma once

#include <cstdint>

/// A piece of work queued on the thread pool, as its caller sees it. Callers hold it through
/// std::shared_ptr; dropping the last reference waits until the work has run (running it on the
/// dropping thread when no worker has taken it yet) and never throws.
class IAsyncCall {
public:
    virtual ~IAsyncCall() = default;

    /// Returns when the work has run, and gives its result. When no worker has taken the work
    /// yet (and `RunElsewhere` was not called), it runs here, in the calling thread. On the main
    /// thread the wait keeps serving calls that workers hand to the main thread. An exception
    /// raised by the work is raised here, by the first `Sync` only; later ones return 0.
    virtual int32_t Sync() = 0;

    /// True when the work has run. Does not wait.
    virtual bool IsFinished() = 0;

    /// The result of finished work, or its exception (once); raises EAsyncCallError while the
    /// work has not run yet.
    virtual int32_t ReturnValue() = 0;

    /// From now on `Sync` waits for a worker instead of running the work itself.
    virtual void RunElsewhere() = 0;
};
