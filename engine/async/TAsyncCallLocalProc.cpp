#include "TAsyncCallLocalProc.h"

#include <utility>

TAsyncCallLocalProc::TAsyncCallLocalProc(TThreadPool& pool, std::function<int32_t()> proc)
    : TAsyncCall(pool)
    , Proc(std::move(proc)) {}

int32_t TAsyncCallLocalProc::ExecuteAsyncCall() {
    return Proc();
}
