#pragma once

#include "IFolderBrowser.h"
#include "TsettingsForm.h"

#include <string>

/// The folder browser for tests: while an instance exists, the settings dialog asks it instead
/// of the folder dialog; it keeps the title shown last and answers with `Answer` (empty:
/// cancelled). When it goes, the dialog is back.
class FakeFolderBrowser : public IFolderBrowser {
public:
    FakeFolderBrowser() { TsettingsForm::SetFolderBrowser(this); }
    ~FakeFolderBrowser() override { TsettingsForm::SetFolderBrowser(nullptr); }
    FakeFolderBrowser(const FakeFolderBrowser&) = delete;
    FakeFolderBrowser& operator=(const FakeFolderBrowser&) = delete;

    std::string Browse(QWidget*, const std::string& title, const std::string&) override {
        Title = title;
        return Answer;
    }

    std::string Answer;
    std::string Title;
};
