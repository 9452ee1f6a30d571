// Test program entry for widget tests: a QApplication (the offscreen platform in CI) on the main
// thread, which serves hand-offs from worker threads, and the GoogleTest runner.
#include "MainThreadDispatcher.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The build lists the tests by running this program, before any script sets the platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    MainThreadDispatcher::SetMainThread();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
