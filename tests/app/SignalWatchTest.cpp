#include "TSignalWatch.h"

#include <QTest>

#include <gtest/gtest.h>

#include <csignal>

namespace {

void (*Disposition(int signal))(int) {
    struct sigaction current {};
    sigaction(signal, nullptr, &current);
    return current.sa_handler;
}

} // namespace

TEST(SignalWatch, CallsOnTheEventLoopLeavesIgnoredSignalsAndPutsTheOthersBack) {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGHUP, SIG_IGN);
    int calls = 0;
    {
        TSignalWatch watch([&calls] { ++calls; });
        EXPECT_TRUE(watch.Watches(SIGTERM));
        EXPECT_TRUE(watch.Watches(SIGINT));
        EXPECT_FALSE(watch.Watches(SIGHUP));
        EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
        std::raise(SIGHUP);
        std::raise(SIGTERM);
        std::raise(SIGINT);
        EXPECT_EQ(calls, 0) << "the call waits for the event loop";
        EXPECT_TRUE(QTest::qWaitFor([&calls] { return calls == 2; }));
    }
    EXPECT_EQ(Disposition(SIGTERM), SIG_DFL);
    EXPECT_EQ(Disposition(SIGINT), SIG_DFL);
    EXPECT_EQ(Disposition(SIGHUP), SIG_IGN);
    std::signal(SIGHUP, SIG_DFL);
}
