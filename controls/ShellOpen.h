#pragma once

#include <functional>
#include <string>

/// Opens a web address, or a local file given as a file URL, with the desktop's handler (never
/// through a shell); true when the handler took it. Tests replace ShellOpenHook to see the address
/// instead. Main thread only.
bool ShellOpen(const std::string& url);

/// What ShellOpen does; QDesktopServices::openUrl unless a test replaces it.
extern std::function<bool(const std::string& url)> ShellOpenHook;
