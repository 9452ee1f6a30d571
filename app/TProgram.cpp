#include "TProgram.h"

#include "AudioClipboard.h"
#include "DialogFormatChooser.h"
#include "IFormatChooser.h"
#include "MainThreadDispatcher.h"
#include "Settings.h"
#include "TApplicationErrorDisplay.h"
#include "TApplicationMessageBox.h"
#include "TDataFile.h"
#include "TEditorForm.h"
#include "TMDIChild.h"
#include "TNewFileForm.h"
#include "TProgressForm.h"
#include "TPropertiesForm.h"
#include "TSaveOperations.h"
#include "TSignalWatch.h"
#include "TamplifyForm.h"
#include "TempFileList.h"
#include "Tfnormalize.h"
#include "Tmpegsettings.h"
#include "TsettingsForm.h"
#include "Tsilence.h"
#include "Twavefile.h"
#include "UserInterface.h"

#include <QApplication>
#include <QSessionManager>
#include <QThread>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

/// True while a dialog, a menu or the progress window runs its own event loop, or any loop runs
/// above the main one.
bool ModalLoopRunning() {
    return QApplication::activeModalWidget() != nullptr ||
           QApplication::activePopupWidget() != nullptr ||
           QThread::currentThread()->loopLevel() > 1;
}

} // namespace

TProgram::TProgram(std::vector<std::string> commandLine) {
    Main = std::make_unique<TEditorForm>();
    Main->CommandLine = std::move(commandLine);
    // Now that the settings name the temporary folder: the files of earlier runs that crashed or
    // were killed go, those of editors still running stay.
    OrphanSweep = std::jthread([folder = Settings.tempfolder](const std::stop_token& stop) {
        TDataFile::RemoveOrphans(folder, stop);
    });
    CreateDialogs();
    InstallUserInterface();
    Signals = std::make_unique<TSignalWatch>([this] { EndWithoutAsking(); });
#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
        if (!EndSession(manager.allowsInteraction()))
            manager.cancel();
    });
#endif
}

TProgram::~TProgram() {
    UninstallUserInterface();
    Main.reset();
    silence = nullptr;
    fnormalize = nullptr;
    settingsForm = nullptr;
    amplifyForm = nullptr;
    NewFileForm = nullptr;
    PropertiesForm = nullptr;
    AudioClipboard::Free();
    TempFiles.DeleteAll();
}

void TProgram::CreateDialogs() {
    // Owned by the main window, so that each shows centred on it.
    QWidget* owner = Main.get();
    silence = new Tsilence(owner);
    fnormalize = new Tfnormalize(owner);
    settingsForm = new TsettingsForm(owner);
    MpegSettings = new Tmpegsettings(owner);
    amplifyForm = new TamplifyForm(owner);
    Progress = new TProgressForm(owner);
    NewFileForm = new TNewFileForm(owner);
    PropertiesForm = new TPropertiesForm(owner);
}

void TProgram::InstallUserInterface() {
    ErrorDisplay = std::make_unique<TApplicationErrorDisplay>();
    MessageBox = std::make_unique<TApplicationMessageBox>();
    Chooser = std::make_unique<DialogFormatChooser>(Main.get());
    UserInterface::SetProgressHost(Progress);
    UserInterface::SetErrorDisplay(ErrorDisplay.get());
    UserInterface::SetMessageBox(MessageBox.get());
    IFormatChooser::Install(Chooser.get());
    TSaveOperations::SetMpegSettingsDialog(MpegSettings);
}

void TProgram::UninstallUserInterface() {
    TSaveOperations::SetMpegSettingsDialog(nullptr);
    IFormatChooser::Install(nullptr);
    UserInterface::SetMessageBox(nullptr);
    UserInterface::SetErrorDisplay(nullptr);
    UserInterface::SetProgressHost(nullptr);
}

int TProgram::Run() {
    Main->show();
    return QApplication::exec();
}

bool TProgram::OperationRunning() const {
    for (TMDIChild* child : Main->Children())
        if (child->document->busy)
            return true;
    return false;
}

void TProgram::AwaitOperations() {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(OperationWaitMs);
    // Only the hand-offs run: no input, no timer and no deferred close reaches the windows.
    while (OperationRunning() && std::chrono::steady_clock::now() < deadline)
        if (!MainThreadDispatcher::CheckSynchronize())
            MainThreadDispatcher::SyncEvent().Wait(20);
}

void TProgram::EndWithoutAsking() {
    if (Ending)
        return;
    Ending = true;
    // From here on the engine's messages go to the standard error stream, never to a window.
    UninstallUserInterface();
    AwaitOperations();
    Main->SaveState();
    if (!ModalLoopRunning() && !OperationRunning()) {
        // Unlike quit(), exit() closes no window, so no document window asks its question.
        QApplication::exit(0);
        return;
    }
    // Returning would hand control back to the dialog's caller as if the user had answered it,
    // or free documents under a worker that did not end in time: the process ends here.
    TempFiles.DeleteAll();
    std::fflush(nullptr);
    std::_Exit(0);
}

bool TProgram::EndSession(bool interactionAllowed) {
    if (!interactionAllowed) {
        EndWithoutAsking();
        return true;
    }
    if (ModalLoopRunning())
        return false;
    return Main->close();
}
