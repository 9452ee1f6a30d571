#pragma once

#include <string>
#include <vector>

/// What starts programs for StartProgram in place of a detached process: installed with
/// `SetProgramStarter` (tests install one that records the calls). Main thread only.
class IProgramStarter {
public:
    virtual ~IProgramStarter() = default;

    /// Starts `program` with `arguments` as they are; true when it started.
    virtual bool Start(const std::string& program, const std::vector<std::string>& arguments) = 0;
};
