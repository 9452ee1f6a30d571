#include "AsyncLocalCall.h"

#include "TAsyncCallLocalProc.h"

std::shared_ptr<IAsyncCall> AsyncLocalCall(std::function<int32_t()> proc, TThreadPool& pool) {
    auto call = TAsyncCall::MakeShared<TAsyncCallLocalProc>(pool, std::move(proc));
    try {
        pool.Enqueue(call.get());
    } catch (...) {
        call->Abandon(); // never queued: releasing it must not wait for it
        throw;
    }
    return call;
}
