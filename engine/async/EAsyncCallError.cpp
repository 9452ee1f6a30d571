#include "EAsyncCallError.h"

#include <cstdio>

void RaiseAsyncCallError(const char* name) {
    std::fprintf(stderr, "%s\n", name);
    throw EAsyncCallError();
}
