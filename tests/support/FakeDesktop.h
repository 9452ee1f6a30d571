#pragma once

#include "IProgramStarter.h"
#include "IShellOpener.h"

#include <string>
#include <vector>

/// The desktop for tests: while an instance exists, ShellOpen and StartProgram reach it instead
/// of the desktop, and it records what they were asked. When it goes, the desktop is back.
class FakeDesktop : public IShellOpener, public IProgramStarter {
public:
    FakeDesktop();
    ~FakeDesktop() override;
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    bool Open(const std::string& url) override;
    bool Start(const std::string& program, const std::vector<std::string>& arguments) override;

    /// The addresses opened, in order.
    std::vector<std::string> Opened;
    /// The programs started, each followed by its arguments.
    std::vector<std::vector<std::string>> Started;
    /// What the desktop answers to an address: false plays one where no program takes it.
    bool Opens = true;
};
