// The document window's saving: Save, Save As, Save Selected As and the save dialog.
#include "TMDIChild.h"

#include "FileDialogs.h"
#include "MessageDlg.h"
#include "Settings.h"
#include "TPropertiesForm.h"
#include "TSaveOperations.h"
#include "TWaveView.h"
#include "Twavefile.h"

#include <QFileDialog>

#include <filesystem>

namespace {

/// The extension of the file's own name, from its last ".", or "".
std::string Extension(const std::string& fileName) {
    const size_t dot = fileName.find_last_of('.');
    const size_t slash = fileName.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return fileName.substr(dot);
}

/// Saves go by the extension exactly as written: ".WAV" is neither.
bool SavesInPlace(const std::string& fileName) {
    const std::string ext = Extension(fileName);
    return ext == ".wav" || ext == ".mp3";
}

const char* FilterExtension(int filterIndex) {
    return filterIndex == 2 ? ".mp3" : ".wav";
}

bool FileExists(const std::string& name) {
    std::error_code error;
    return std::filesystem::exists(name, error);
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

int SelectedFilterIndex(const QFileDialog& dialog) {
    return int(dialog.nameFilters().indexOf(dialog.selectedNameFilter())) + 1;
}

} // namespace

void TMDIChild::CreateSaveDialog() {
    SaveDialog = new QFileDialog(this);
    SaveDialog->setObjectName("SaveDialog");
    // Qt's own dialog reports the type changes; the window asks about overwriting itself.
    SaveDialog->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog->setOption(QFileDialog::DontConfirmOverwrite);
    SaveDialog->setAcceptMode(QFileDialog::AcceptSave);
    SaveDialog->setFileMode(QFileDialog::AnyFile);
    SaveDialog->setNameFilters({"WAV (*.wav)", "MP3 (*.mp3)"});
    connect(SaveDialog, &QFileDialog::filterSelected, this, [this](const QString& filter) {
        SaveDialogTypeChange(int(SaveDialog->nameFilters().indexOf(filter)) + 1);
    });
}

void TMDIChild::SaveDialogTypeChange(int filterIndex) {
    DefaultExt = FilterExtension(filterIndex);
}

// --- Saving ---

bool TMDIChild::ConfirmOverwrite(const std::string& name, const std::string& question) const {
    if (!FileExists(name))
        return true;
    return MessageDlg(question, TMsgDlgType::mtError, mbYes | mbNo) == mrYes;
}

std::string TMDIChild::ChooseSaveName(int& filterIndex) {
    const std::string name = RunSaveDialog(*SaveDialog);
    filterIndex = SelectedFilterIndex(*SaveDialog);
    return name;
}

bool TMDIChild::SaveDocumentNow() {
    if (SavesInPlace(document->filename))
        return TSaveOperations::savefile(*document);
    return SaveAs();
}

void TMDIChild::SaveActionExecute() {
    if (document->modified)
        SaveDocumentNow();
}

void TMDIChild::SaveAsActionExecute() {
    SaveAs();
}

bool TMDIChild::SaveAs() {
    SaveDialog->selectNameFilter(
        SaveDialog->nameFilters().value(Settings.filterindex == 2 ? 1 : 0));
    int filterIndex = 1;
    std::string name = ChooseSaveName(filterIndex);
    if (name.empty())
        return false;
    // The type in force when the dialog was accepted decides a missing extension.
    SaveDialogTypeChange(filterIndex);
    if (!SavesInPlace(name))
        name += DefaultExt;
    if (!ConfirmOverwrite(name, "This file " + name + " already exists. Overwrite?"))
        return false;
    Settings.filterindex = filterIndex;
    const std::string previous = document->filename;
    document->filename = name;
    OperationFailed = false;
    const bool started = TSaveOperations::savefile(*document);
    if (started && !OperationFailed)
        updatecaption(document->filename);
    else
        document->filename = previous;
    return started;
}

void TMDIChild::SaveSelectedActionExecute() {
    if (!view->selected)
        return;
    int filterIndex = 1;
    std::string name = ChooseSaveName(filterIndex);
    if (name.empty())
        return;
    const std::string ext = Extension(name);
    name = name.substr(0, name.size() - ext.size()) + FilterExtension(filterIndex);
    if (!ConfirmOverwrite(name, "This file already exists. Overwrite?"))
        return;
    const bool ownFile = SameFile(name, document->filename);
    OperationFailed = false;
    const bool started =
        TSaveOperations::saverange(*document, name, view->selectionstart, view->selectionstop);
    // The document's own file now holds only the selection.
    if (started && !OperationFailed && ownFile)
        document->modified = true;
}

void TMDIChild::PropertiesActionExecute() {
    if (!DocumentReady())
        return;
    PropertiesForm->setfilename(*document);
    PropertiesForm->ShowModal();
}
