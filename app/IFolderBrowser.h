#pragma once

#include <string>

class QWidget;

/// What the settings dialog asks for a folder in place of the toolkit's folder dialog: installed
/// with `TsettingsForm::SetFolderBrowser` (tests install one that answers at once). Main thread
/// only.
class IFolderBrowser {
public:
    virtual ~IFolderBrowser() = default;

    /// Shows `title`, starts at `folder`; returns the chosen folder, or an empty text when the
    /// user cancels.
    virtual std::string Browse(QWidget* parent, const std::string& title,
                               const std::string& folder) = 0;
};
