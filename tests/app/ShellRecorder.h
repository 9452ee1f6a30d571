#pragma once

#include "CheckForUpdates.h"
#include "FakeDesktop.h"

/// While it lives, records the addresses handed to the shell instead of opening them; when it
/// goes, puts the desktop and the update site back as they were when it was made.
class ShellRecorder : public FakeDesktop {
public:
    ShellRecorder()
        : SavedSite(UpdateSite) {}
    ~ShellRecorder() override { UpdateSite = SavedSite; }

private:
    TUpdateSite SavedSite;
};
