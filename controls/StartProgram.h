#pragma once

#include <functional>
#include <string>
#include <vector>

/// Starts a program detached from this one, with its arguments passed as they are (never through
/// a shell); true when it started. Tests replace StartProgramHook to see the call instead.
bool StartProgram(const std::string& program, const std::vector<std::string>& arguments);

/// What StartProgram does; QProcess::startDetached unless a test replaces it.
extern std::function<bool(const std::string&, const std::vector<std::string>&)> StartProgramHook;
