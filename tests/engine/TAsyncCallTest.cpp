// Waiting for a call: where its work runs, how results and exceptions come back, and what
// releasing the last reference does.
#include "AsyncLocalCall.h"
#include "EAsyncCallError.h"
#include "Event.h"
#include "MainThreadDispatcher.h"
#include "TThreadPool.h"

#include "WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

/// A one-processor pool (two workers) whose workers are both held by calls until `Open`.
class BusyPool {
public:
    BusyPool() {
        for (int i = 0; i < Pool.MaxThreads; ++i) {
            Blockers.push_back(AsyncLocalCall(
                [this] {
                    ++Running;
                    Gate.Wait();
                },
                Pool));
            Blockers.back()->RunElsewhere();
        }
        EXPECT_TRUE(WaitFor([this] { return Running == Pool.MaxThreads; }, 10,
                            "every worker held by a blocker"));
    }
    ~BusyPool() { Open(); }
    void Open() { Gate.Set(); }

    TThreadPool Pool{1};

private:
    Event Gate{true};
    std::atomic<int> Running = 0;
    std::vector<std::shared_ptr<IAsyncCall>> Blockers;
};

TEST(TAsyncCall, SyncRunsAnUntakenCallOnTheWaitingThread) {
    BusyPool busy;
    std::thread::id ranOn;
    int local = 1;
    auto call = AsyncLocalCall(
        [&] {
            ranOn = std::this_thread::get_id();
            local += 41; // reaches the caller's frame
            return local;
        },
        busy.Pool);
    EXPECT_FALSE(call->IsFinished());
    EXPECT_EQ(call->Sync(), 42);
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_EQ(local, 42);
}

TEST(TAsyncCall, RunElsewhereWaitsForAWorker) {
    BusyPool busy;
    std::thread::id ranOn;
    auto call = AsyncLocalCall([&] { ranOn = std::this_thread::get_id(); }, busy.Pool);
    call->RunElsewhere();
    EXPECT_THROW(call->ReturnValue(), EAsyncCallError);
    busy.Open();
    EXPECT_EQ(call->Sync(), 0);
    EXPECT_NE(ranOn, std::this_thread::get_id());
}

TEST(TAsyncCall, ReturnValueBeforeTheCallRanNamesTheError) {
    BusyPool busy;
    auto call = AsyncLocalCall([] { return 5; }, busy.Pool);
    try {
        call->ReturnValue();
        FAIL() << "no exception";
    } catch (const EAsyncCallError& e) {
        EXPECT_STREQ(e.what(), "The asynchronous call is not finished yet");
    }
    EXPECT_EQ(call->Sync(), 5);
    EXPECT_EQ(call->ReturnValue(), 5);
}

TEST(TAsyncCall, FinishedCallGivesTheSameResultAgain) {
    auto call = AsyncLocalCall([] { return 99; });
    EXPECT_EQ(call->Sync(), 99);
    EXPECT_TRUE(call->IsFinished());
    EXPECT_EQ(call->Sync(), 99);
    EXPECT_EQ(call->ReturnValue(), 99);
}

TEST(TAsyncCall, ExceptionIsRaisedOnceInTheWaiter) {
    for (bool elsewhere : {false, true}) {
        auto call = AsyncLocalCall([]() -> int32_t { throw std::runtime_error("disk full"); });
        if (elsewhere)
            call->RunElsewhere();
        try {
            call->Sync();
            FAIL() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "disk full");
        }
        EXPECT_EQ(call->Sync(), 0);
        EXPECT_EQ(call->ReturnValue(), 0);
    }
}

TEST(TAsyncCall, ReturnValueRaisesTheKeptExceptionOnce) {
    auto call = AsyncLocalCall([]() -> int32_t { throw std::logic_error("bad block"); });
    call->RunElsewhere();
    EXPECT_TRUE(WaitFor([&] { return call->IsFinished(); }, 10, "the call finished"));
    EXPECT_THROW(call->ReturnValue(), std::logic_error);
    EXPECT_EQ(call->ReturnValue(), 0);
}

TEST(TAsyncCall, ReleasingAnUntakenCallRunsIt) {
    BusyPool busy;
    bool ran = false;
    auto call = AsyncLocalCall([&] { ran = true; }, busy.Pool);
    call.reset();
    EXPECT_TRUE(ran);
}

TEST(TAsyncCall, ReleasingTheLastReferenceWaitsForTheCall) {
    BusyPool busy;
    std::atomic<bool> ran = false;
    auto call = AsyncLocalCall([&] { ran = true; }, busy.Pool);
    call->RunElsewhere();
    bool ranBeforeRelease = false;
    std::thread releaser([&] {
        call.reset();
        ranBeforeRelease = ran;
    });
    busy.Open();
    releaser.join();
    EXPECT_TRUE(ranBeforeRelease);
}

TEST(TAsyncCall, ReleasingAFailedCallDoesNotThrow) {
    auto call = AsyncLocalCall([]() -> int32_t { throw std::runtime_error("lost"); });
    call->RunElsewhere();
    EXPECT_NO_THROW(call.reset());
}

TEST(TAsyncCall, MainThreadWaitServesHandOffsFromTheWork) {
    ASSERT_TRUE(MainThreadDispatcher::IsMainThread());
    std::thread::id handedTo;
    auto call = AsyncLocalCall([&] {
        MainThreadDispatcher::Synchronize([&] { handedTo = std::this_thread::get_id(); });
        return 3;
    });
    call->RunElsewhere();
    EXPECT_EQ(call->Sync(), 3);
    EXPECT_EQ(handedTo, std::this_thread::get_id());
}

TEST(TAsyncCall, WorkerThreadWaitsPlainly) {
    int32_t result = 0;
    std::thread other([&] {
        auto call = AsyncLocalCall([] { return 11; });
        call->RunElsewhere();
        result = call->Sync();
    });
    other.join();
    EXPECT_EQ(result, 11);
}

} // namespace
