#include "TAsyncCall.h"

#include "EAsyncCallError.h"
#include "MainThreadDispatcher.h"
#include "MainThreadWait.h"
#include "SpinWait.h"
#include "TThreadPool.h"

#include <utility>

namespace {

/// How long a worker thread polls for its call to end before it sleeps.
constexpr std::chrono::microseconds DonePoll{200};

} // namespace

TAsyncCall::TAsyncCall(TThreadPool& pool)
    : Pool(pool) {}

bool TAsyncCall::IsFinished() {
    return DoneEvent.IsSet();
}

void TAsyncCall::RunElsewhere() {
    NoRunHere = true;
}

int32_t TAsyncCall::Sync() {
    if (!IsFinished() && !RunHere() && !WaitDone())
        RaiseAsyncCallError("IAsyncCall.Sync");
    return TakeResult();
}

int32_t TAsyncCall::ReturnValue() {
    if (!IsFinished())
        RaiseAsyncCallError("IAsyncCall.ReturnValue");
    return TakeResult();
}

void TAsyncCall::RunCall() noexcept {
    int32_t result = 0;
    try {
        result = ExecuteAsyncCall();
    } catch (...) {
        CaughtException = std::current_exception();
    }
    Finish(result);
}

bool TAsyncCall::RunHere() {
    if (IsFinished())
        return true;
    if (NoRunHere)
        return false;
    if (!Pool.RemoveCall(this))
        return false;
    RunCall();
    return true;
}

void TAsyncCall::Abandon() noexcept {
    CaughtException = std::make_exception_ptr(EAsyncCallError());
    Finish(0);
}

void TAsyncCall::Finish(int32_t result) noexcept {
    CallResult = result;
    Ran.store(true, std::memory_order_release);
    // Setting the event is the last touch: the waiter may free the call as soon as it sees it.
    DoneEvent.Set();
}

bool TAsyncCall::WaitDone() {
    if (MainThreadDispatcher::IsMainThread())
        return MainThreadWait(DoneEvent);
    // A call that ends within microseconds is cheaper to poll for than to sleep on. Either way
    // the event is waited for: it is the call's last touch, after which the call may be freed.
    SpinFor(DonePoll, [this] { return Ran.load(std::memory_order_acquire); });
    return DoneEvent.Wait();
}

int32_t TAsyncCall::TakeResult() {
    if (CaughtException)
        std::rethrow_exception(std::exchange(CaughtException, nullptr));
    return CallResult;
}

void TAsyncCall::Release(TAsyncCall* call) noexcept {
    // Dropping the last reference waits for the work, which may still use the caller's frame.
    // Its exception, if any, has nobody left to go to.
    try {
        if (!call->IsFinished() && !call->RunHere())
            call->WaitDone();
    } catch (...) {
        call->DoneEvent.Wait();
    }
    delete call;
}
