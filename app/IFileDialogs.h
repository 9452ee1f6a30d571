#pragma once

#include <string>
#include <vector>

class QFileDialog;

/// What the Open, Save As and Save Selected commands ask in place of running the toolkit's file
/// dialogs: installed with `SetFileDialogs` (tests install one that answers at once). Main
/// thread only.
class IFileDialogs {
public:
    virtual ~IFileDialogs() = default;

    /// Answers the Open command's `dialog`: the chosen names, none when the user cancels.
    virtual std::vector<std::string> RunOpen(QFileDialog& dialog) = 0;
    /// Answers the save `dialog`: the chosen name, or an empty text when the user cancels. The
    /// type the user chose is left selected in `dialog`.
    virtual std::string RunSave(QFileDialog& dialog) = 0;
};
