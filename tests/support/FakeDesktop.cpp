#include "FakeDesktop.h"

#include "ShellOpen.h"
#include "StartProgram.h"

FakeDesktop::FakeDesktop() {
    SetShellOpener(this);
    SetProgramStarter(this);
}

FakeDesktop::~FakeDesktop() {
    SetShellOpener(nullptr);
    SetProgramStarter(nullptr);
}

bool FakeDesktop::Open(const std::string& url) {
    Opened.push_back(url);
    return Opens;
}

bool FakeDesktop::Start(const std::string& program, const std::vector<std::string>& arguments) {
    std::vector<std::string> call{program};
    call.insert(call.end(), arguments.begin(), arguments.end());
    Started.push_back(call);
    return true;
}
