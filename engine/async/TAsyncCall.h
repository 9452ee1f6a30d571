#pragma once

#include "Event.h"
#include "IAsyncCall.h"

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <utility>

class TThreadPool;

/// The base of the pool's calls: holds the work's result or exception and the event that tells
/// the waiter the work has run. A derived class supplies the work in `ExecuteAsyncCall`.
///
/// The work runs exactly once, on a pool worker or on the thread that waits for it. Everything
/// the work wrote is visible to the waiter once `IsFinished` is true. Owned by the caller's
/// std::shared_ptr (see `MakeShared`), whose release waits for the work; the pool's queue only
/// points at calls that are still waited for.
class TAsyncCall : public IAsyncCall {
public:
    explicit TAsyncCall(TThreadPool& pool);
    ~TAsyncCall() override = default;
    TAsyncCall(const TAsyncCall&) = delete;
    TAsyncCall& operator=(const TAsyncCall&) = delete;

    int32_t Sync() override;
    bool IsFinished() override;
    int32_t ReturnValue() override;
    void RunElsewhere() override;

    /// Runs the work and finishes the call, keeping an exception for the waiter. Never throws.
    void RunCall() noexcept;

    /// Runs the work here when no worker has taken it; true when the call has run.
    bool RunHere();

    /// Finishes a call that will never run (the pool is ending): its waiter gets EAsyncCallError.
    void Abandon() noexcept;

    /// Wraps a new call in the shared pointer that callers hold; releasing its last reference
    /// waits for the work. The call is not queued yet.
    template <class Call, class... Args> static std::shared_ptr<Call> MakeShared(Args&&... args) {
        return std::shared_ptr<Call>(new Call(std::forward<Args>(args)...), &Release);
    }

protected:
    /// The work; its result is what `Sync` returns.
    virtual int32_t ExecuteAsyncCall() = 0;

private:
    static void Release(TAsyncCall* call) noexcept;
    void Finish(int32_t result) noexcept;
    bool WaitDone();
    int32_t TakeResult();

    TThreadPool& Pool;
    Event DoneEvent{true};
    std::atomic<bool> Ran{false}; ///< set just before DoneEvent, for waits that poll first
    int32_t CallResult = 0;
    std::exception_ptr CaughtException;
    std::atomic<bool> NoRunHere{false};
};
