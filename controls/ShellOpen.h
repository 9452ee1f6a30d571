#pragma once

#include <functional>
#include <string>

/// Opens a web address with the desktop's handler (never through a shell). Tests replace
/// ShellOpenHook to see the address instead. Main thread only.
void ShellOpen(const std::string& url);

/// What ShellOpen does; QDesktopServices::openUrl unless a test replaces it.
extern std::function<void(const std::string& url)> ShellOpenHook;
