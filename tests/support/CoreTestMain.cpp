// Test program entry for engine-side tests: a QCoreApplication on the main thread, which serves
// hand-offs from worker threads, and the GoogleTest runner.
#include "MainThreadDispatcher.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    MainThreadDispatcher::SetMainThread();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
