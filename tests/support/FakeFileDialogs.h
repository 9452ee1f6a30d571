#pragma once

#include "FileDialogs.h"
#include "IFileDialogs.h"

#include <QFileDialog>

#include <functional>
#include <string>
#include <vector>

/// The file dialogs for tests: while an instance exists, the Open, Save As and Save Selected
/// commands ask it instead of running their dialogs. Every open dialog answers `OpenAnswer`,
/// every save dialog `SaveAnswer` with the type `SaveType` selected (1 WAV, 2 MP3; 0 keeps the
/// type the window preselected); empty answers cancel. When it goes, the dialogs are back.
class FakeFileDialogs : public IFileDialogs {
public:
    FakeFileDialogs() { SetFileDialogs(this); }
    ~FakeFileDialogs() override { SetFileDialogs(nullptr); }
    FakeFileDialogs(const FakeFileDialogs&) = delete;
    FakeFileDialogs& operator=(const FakeFileDialogs&) = delete;

    std::vector<std::string> RunOpen(QFileDialog& dialog) override {
        if (WhileOpen)
            WhileOpen(dialog);
        return OpenAnswer;
    }

    std::string RunSave(QFileDialog& dialog) override {
        if (SaveType > 0)
            dialog.selectNameFilter(dialog.nameFilters().at(SaveType - 1));
        return SaveAnswer;
    }

    /// Answers every save dialog from now on with `name` and the type `type`.
    void AnswerSave(std::string name, int type = 0) {
        SaveAnswer = std::move(name);
        SaveType = type;
    }

    std::vector<std::string> OpenAnswer;
    /// What the user does in the open dialog before it answers, when set.
    std::function<void(QFileDialog& dialog)> WhileOpen;
    std::string SaveAnswer;
    int SaveType = 0;
};
