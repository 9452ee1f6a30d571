// 100,000 calls through the thread pool the way the fade and gain workers use it (hand a block
// over, fill the other buffer meanwhile, wait before reusing), from the main thread and from four
// other threads at once. ThreadSanitizer reports any race; the program checks every result.
// With --race it races on purpose, to show that the sanitizer is really there.
#include "AsyncLocalCall.h"
#include "MainThreadDispatcher.h"
#include "TThreadPool.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

constexpr int Feeders = 5; // the main thread and four others
constexpr int CallsPerFeeder = 20000;
constexpr int BlockSize = 64;

/// One feeder: returns true when every block arrived and every failure came back to it.
bool Feed(int feeder, TThreadPool& pool) {
    std::array<std::vector<int64_t>, 2> buffers{std::vector<int64_t>(BlockSize),
                                                std::vector<int64_t>(BlockSize)};
    int64_t written = 0; // touched only by the calls, read after the last Sync
    int64_t expected = 0;
    int failures = 0;
    int expectedFailures = 0;
    std::shared_ptr<IAsyncCall> call;
    for (int i = 0; i < CallsPerFeeder; ++i) {
        std::vector<int64_t>& block = buffers[i % 2];
        std::iota(block.begin(), block.end(), int64_t(i) * feeder);
        expected += std::accumulate(block.begin(), block.end(), int64_t(0));
        if (call) {
            try {
                call->Sync();
            } catch (const std::runtime_error&) {
                ++failures;
            }
        }
        const bool fail = i % 997 == 0;
        expectedFailures += fail;
        call = AsyncLocalCall(
            [&written, &block, fail] {
                written += std::accumulate(block.begin(), block.end(), int64_t(0));
                if (fail)
                    throw std::runtime_error("write failed");
                return 1;
            },
            pool);
        if (i % 3 == 0)
            call->RunElsewhere();
    }
    try {
        call->Sync();
    } catch (const std::runtime_error&) {
        ++failures;
    }
    return written == expected && failures == expectedFailures;
}

int DeliberateRace() {
    int shared = 0;
    std::thread a([&] {
        for (int i = 0; i < 1000; ++i)
            ++shared;
    });
    std::thread b([&] {
        for (int i = 0; i < 1000; ++i)
            ++shared;
    });
    a.join();
    b.join();
    return shared > 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    MainThreadDispatcher::SetMainThread();
    if (argc > 1 && std::strcmp(argv[1], "--race") == 0)
        return DeliberateRace();

    TThreadPool smallPool(1);
    std::array<bool, Feeders> ok{};
    std::vector<std::thread> others;
    for (int f = 1; f < Feeders; ++f)
        others.emplace_back(
            [f, &ok, &smallPool] { ok[f] = Feed(f, f == 1 ? smallPool : ThreadPool); });
    ok[0] = Feed(Feeders, ThreadPool);
    for (std::thread& t : others)
        t.join();
    for (int f = 0; f < Feeders; ++f)
        if (!ok[f]) {
            std::fprintf(stderr, "feeder %d lost or miscounted blocks\n", f);
            return 1;
        }
    std::printf("%d calls checked\n", Feeders * CallsPerFeeder);
    return 0;
}
