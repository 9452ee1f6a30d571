#pragma once

#include "IAsyncCall.h"
#include "TThreadPool.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

/// Queues `proc` on the pool and returns the call. `proc` usually captures the caller's frame by
/// reference, so the caller must not leave that frame before the call has finished: it waits
/// with `Sync` (dropping the returned pointer waits too). Example:
///
///     std::shared_ptr<IAsyncCall> write = AsyncLocalCall([&] { return WriteBlock(buffer); });
///     ... compute the next block into another buffer ...
///     write->Sync(); // raises here what WriteBlock raised
std::shared_ptr<IAsyncCall> AsyncLocalCall(std::function<int32_t()> proc,
                                           TThreadPool& pool = ThreadPool);

/// The same for work without a result; `Sync` then returns 0.
template <class Proc>
requires std::is_void_v<std::invoke_result_t<Proc&>> std::shared_ptr<IAsyncCall>
AsyncLocalCall(Proc proc, TThreadPool& pool = ThreadPool) {
    return AsyncLocalCall(std::function<int32_t()>([proc = std::move(proc)]() mutable -> int32_t {
                              proc();
                              return 0;
                          }),
                          pool);
}
