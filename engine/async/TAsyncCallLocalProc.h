#pragma once

#include "TAsyncCall.h"

#include <cstdint>
#include <functional>

/// A call whose work is a routine of its caller, usually a lambda that reaches the caller's local
/// variables by reference. The caller keeps those alive until the call has finished.
class TAsyncCallLocalProc : public TAsyncCall {
public:
    TAsyncCallLocalProc(TThreadPool& pool, std::function<int32_t()> proc);

protected:
    int32_t ExecuteAsyncCall() override;

private:
    std::function<int32_t()> Proc;
};
