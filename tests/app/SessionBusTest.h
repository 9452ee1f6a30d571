#pragma once

#include "LauncherEntrySubscriber.h"

#include <gtest/gtest.h>

/// Tests that need a session bus: run by ctest under dbus-run-session (where a missing bus fails)
/// and skipped without a bus elsewhere. `Subscriber` hears the taskbar signals.
class SessionBusTest : public testing::Test {
protected:
    void SetUp() override {
        if (LauncherEntrySubscriber::SenderBus().isConnected() && Subscriber.Connected())
            return;
        if (qEnvironmentVariableIsSet("SONDRIX_REQUIRE_DBUS"))
            FAIL() << "no session bus inside dbus-run-session";
        GTEST_SKIP() << "no session bus (run under dbus-run-session)";
    }

    LauncherEntrySubscriber Subscriber;
};
