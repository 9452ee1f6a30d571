#pragma once

#include "CheckForUpdates.h"
#include "ShellOpen.h"

#include <functional>
#include <string>
#include <vector>

/// While it lives, records the addresses handed to the shell instead of opening them; when it
/// goes, puts the shell hook and the update site back as they were when it was made.
class ShellRecorder {
public:
    ShellRecorder()
        : SavedSite(UpdateSite)
        , SavedShell(ShellOpenHook) {
        ShellOpenHook = [this](const std::string& url) {
            Opened.push_back(url);
            return Opens;
        };
    }
    ~ShellRecorder() {
        UpdateSite = SavedSite;
        ShellOpenHook = SavedShell;
    }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<std::string> Opened;
    /// What the shell answers: false plays a desktop where no program takes the address.
    bool Opens = true;

private:
    TUpdateSite SavedSite;
    std::function<bool(const std::string&)> SavedShell;
};
