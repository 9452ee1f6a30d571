#pragma once

#include <string>
#include <vector>

class IFileDialogs;
class QFileDialog;

/// Runs the Open command's `dialog`, or asks the file dialogs installed by `SetFileDialogs`; the
/// chosen names, none when the user cancelled. Main thread only.
std::vector<std::string> RunOpenDialog(QFileDialog& dialog);

/// Runs a save `dialog`, or asks the file dialogs installed by `SetFileDialogs`; the chosen name,
/// or an empty text when the user cancelled. The chosen type stays selected in `dialog`.
std::string RunSaveDialog(QFileDialog& dialog);

/// Installs what RunOpenDialog and RunSaveDialog ask in place of running the dialogs; nullptr
/// puts the dialogs back. The caller keeps ownership.
void SetFileDialogs(IFileDialogs* dialogs);
