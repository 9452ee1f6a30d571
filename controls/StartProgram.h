#pragma once

#include <string>
#include <vector>

class IProgramStarter;

/// Starts a program detached from this one, with its arguments passed as they are (never through
/// a shell), or through the starter installed by `SetProgramStarter`; true when it started.
bool StartProgram(const std::string& program, const std::vector<std::string>& arguments);

/// Installs what StartProgram uses in place of QProcess::startDetached; nullptr puts that back.
/// The caller keeps ownership.
void SetProgramStarter(IProgramStarter* starter);
