#include "MainThreadDispatcher.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

TEST(MainThreadDispatcher, SynchronizeRunsOnMainThreadThroughEventLoop) {
    std::atomic<bool> ranOnMain{false};
    QEventLoop loop;
    std::thread worker([&] {
        MainThreadDispatcher::Synchronize(
            [&] { ranOnMain = MainThreadDispatcher::IsMainThread(); });
        MainThreadDispatcher::Queue([&] { loop.quit(); });
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    worker.join();
    EXPECT_TRUE(ranOnMain);
}

TEST(MainThreadDispatcher, CustomWaitServesHandOffsWithoutEventLoop) {
    Event finished(true);
    int value = 0;
    std::thread worker([&] {
        MainThreadDispatcher::Synchronize([&] { value = 7; });
        finished.Set();
    });
    Event* waits[] = {&finished, &MainThreadDispatcher::SyncEvent()};
    while (Event::WaitForAny(waits, 10000) == 1)
        MainThreadDispatcher::CheckSynchronize();
    worker.join();
    EXPECT_EQ(value, 7);
}

TEST(MainThreadDispatcher, ExceptionReachesTheWaitingCaller) {
    std::string message;
    Event finished(true);
    std::thread worker([&] {
        try {
            MainThreadDispatcher::Synchronize([] { throw std::runtime_error("boom"); });
        } catch (const std::runtime_error& e) {
            message = e.what();
        }
        finished.Set();
    });
    Event* waits[] = {&finished, &MainThreadDispatcher::SyncEvent()};
    while (Event::WaitForAny(waits, 10000) == 1)
        MainThreadDispatcher::CheckSynchronize();
    worker.join();
    EXPECT_EQ(message, "boom");
}

TEST(MainThreadDispatcher, InlineOnMainThread) {
    bool ran = false;
    MainThreadDispatcher::Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}
