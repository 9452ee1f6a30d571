#pragma once

#include "Exceptions.h"

/// Raised when the result of an asynchronous call is asked for before the call has run, and by
/// calls that never ran because the program ended first.
class EAsyncCallError : public Exception {
public:
    EAsyncCallError()
        : Exception("The asynchronous call is not finished yet") {}
};

/// Writes `name` (the operation that failed) to the diagnostic output and raises EAsyncCallError.
[[noreturn]] void RaiseAsyncCallError(const char* name);
