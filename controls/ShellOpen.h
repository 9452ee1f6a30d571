#pragma once

#include <string>

class IShellOpener;

/// Opens a web address, or a local file given as a file URL, with the desktop's handler (never
/// through a shell), or with the opener installed by `SetShellOpener`; true when the handler
/// took it. Main thread only.
bool ShellOpen(const std::string& url);

/// Installs what ShellOpen uses in place of QDesktopServices::openUrl; nullptr puts that back.
/// The caller keeps ownership.
void SetShellOpener(IShellOpener* opener);
