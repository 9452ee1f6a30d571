#pragma once

#include "FakeErrorDisplay.h"
#include "FakeMessageBox.h"
#include "FakeProgressHost.h"

/// Installs a fake progress host, error display and message box for the lifetime of the object
/// and removes them again.
class FakeUserInterface {
public:
    FakeUserInterface();
    ~FakeUserInterface();
    FakeUserInterface(const FakeUserInterface&) = delete;
    FakeUserInterface& operator=(const FakeUserInterface&) = delete;

    FakeProgressHost Progress;
    FakeErrorDisplay Errors;
    FakeMessageBox Messages;
};
