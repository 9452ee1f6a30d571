#pragma once

#include <string>

/// What opens addresses for ShellOpen in place of the desktop's handler: installed with
/// `SetShellOpener` (tests install one that records the addresses). Main thread only.
class IShellOpener {
public:
    virtual ~IShellOpener() = default;

    /// Opens a web address or a file URL; true when something took it.
    virtual bool Open(const std::string& url) = 0;
};
