// The pool's workers: how many start, when an idle one is reused, and what the end of the pool
// does to calls that are still queued.
#include "TThreadPool.h"
#include "AsyncLocalCall.h"
#include "EAsyncCallError.h"
#include "Event.h"

#include "WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

namespace {

TEST(TThreadPool, WorkerLimitIsFourPerProcessorLessTwo) {
    struct Case {
        int32_t Processors;
        int32_t Workers;
    };
    for (const Case c : {Case{1, 2}, Case{2, 6}, Case{4, 14}}) {
        TThreadPool pool(c.Processors);
        EXPECT_EQ(pool.MaxThreads, c.Workers);
        EXPECT_EQ(pool.ThreadCount(), 0) << "no worker before the first call";
        Event gate(true);
        std::atomic<int> running = 0;
        std::vector<std::shared_ptr<IAsyncCall>> calls;
        for (int i = 0; i < 20; ++i) {
            calls.push_back(AsyncLocalCall(
                [&] {
                    ++running;
                    gate.Wait();
                },
                pool));
            calls.back()->RunElsewhere();
        }
        EXPECT_TRUE(
            WaitFor([&] { return running == c.Workers; }, 10, "every worker running a call"));
        EXPECT_EQ(pool.ThreadCount(), c.Workers) << c.Processors << " processors";
        gate.Set();
        for (auto& call : calls)
            EXPECT_EQ(call->Sync(), 0);
        EXPECT_EQ(running, 20);
        EXPECT_EQ(pool.ThreadCount(), c.Workers);
    }
}

TEST(TThreadPool, ZeroProcessorsCountAsOne) {
    TThreadPool pool(0);
    EXPECT_EQ(pool.ProcessorCount, 1);
    EXPECT_EQ(pool.MaxThreads, 2);
}

TEST(TThreadPool, ProgramPoolFollowsTheAffinityMask) {
    EXPECT_EQ(ThreadPool.ProcessorCount, AvailableProcessorCount());
    EXPECT_EQ(ThreadPool.MaxThreads, 4 * AvailableProcessorCount() - 2);
}

TEST(TThreadPool, IdleWorkerIsWokenInsteadOfStartingAnother) {
    TThreadPool pool(4);
    for (int i = 0; i < 50; ++i) {
        EXPECT_TRUE(WaitFor([&] { return pool.ThreadCount() == pool.IdleThreadCount(); }, 10,
                            "every worker idle"));
        auto call = AsyncLocalCall([] { return 7; }, pool);
        call->RunElsewhere();
        EXPECT_EQ(call->Sync(), 7);
    }
    EXPECT_EQ(pool.ThreadCount(), 1);
}

TEST(TThreadPool, TheWorkerThatBecameIdleLastTakesTheNextCall) {
    // It may still be polling for work, awake, where the others sleep.
    TThreadPool pool(4);
    for (const bool firstEndsLast : {false, true}) {
        Event release[2] = {Event(true), Event(true)};
        std::atomic<std::thread::id> ranOn[2];
        std::shared_ptr<IAsyncCall> blocking[2];
        for (int i = 0; i < 2; ++i) {
            blocking[i] = AsyncLocalCall(
                [&, i] {
                    ranOn[i] = std::this_thread::get_id();
                    release[i].Wait();
                },
                pool);
            blocking[i]->RunElsewhere();
        }
        EXPECT_TRUE(WaitFor([&] { return pool.IdleThreadCount() == 0 && pool.ThreadCount() == 2; },
                            10, "both workers busy"));
        EXPECT_TRUE(
            WaitFor([&] { return ranOn[0] != std::thread::id() && ranOn[1] != std::thread::id(); },
                    10, "both calls started"));
        const int last = firstEndsLast ? 0 : 1;
        release[1 - last].Set();
        EXPECT_TRUE(WaitFor([&] { return pool.IdleThreadCount() == 1; }, 10, "one worker idle"));
        release[last].Set();
        EXPECT_TRUE(WaitFor([&] { return pool.IdleThreadCount() == 2; }, 10, "both workers idle"));
        std::atomic<std::thread::id> next;
        auto call = AsyncLocalCall([&] { next = std::this_thread::get_id(); }, pool);
        call->RunElsewhere();
        call->Sync();
        EXPECT_EQ(next.load(), ranOn[last].load()) << "call " << last << " ended last";
        EXPECT_TRUE(WaitFor([&] { return pool.IdleThreadCount() == 2; }, 10,
                            "both workers idle after the next call"));
    }
    EXPECT_EQ(pool.ThreadCount(), 2);
}

TEST(TThreadPool, QueuedCallsFailWhenThePoolEnds) {
    auto pool = std::make_unique<TThreadPool>(1);
    Event gate(true);
    std::atomic<int> running = 0;
    auto blockA = AsyncLocalCall(
        [&] {
            ++running;
            gate.Wait();
            return 1;
        },
        *pool);
    auto blockB = AsyncLocalCall(
        [&] {
            ++running;
            gate.Wait();
            return 2;
        },
        *pool);
    blockA->RunElsewhere();
    blockB->RunElsewhere();
    EXPECT_TRUE(WaitFor([&] { return running == 2; }, 10, "both blocking calls running"));
    bool ran = false;
    auto queued = AsyncLocalCall([&] { ran = true; }, *pool);
    queued->RunElsewhere();

    std::thread ending([&] { pool.reset(); });
    EXPECT_THROW(queued->Sync(), EAsyncCallError);
    EXPECT_FALSE(ran);
    gate.Set();
    ending.join(); // the pool waited for the running calls
    EXPECT_TRUE(blockA->IsFinished());
    EXPECT_EQ(blockA->Sync(), 1);
    EXPECT_EQ(blockB->Sync(), 2);
}

} // namespace
