#include "TProgram.h"

#include "AudioClipboard.h"
#include "DialogFormatChooser.h"
#include "FormatChooser.h"
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
#include "TamplifyForm.h"
#include "TempFileList.h"
#include "Tfnormalize.h"
#include "Tmpegsettings.h"
#include "TsettingsForm.h"
#include "Tsilence.h"
#include "Twavefile.h"
#include "UserInterface.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

/// The signal handler only writes a byte here; the event loop reads it.
int SignalSockets[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(SignalSockets[0], &byte, 1);
}

} // namespace

TProgram::TProgram(std::vector<std::string> commandLine) {
    Main = std::make_unique<TEditorForm>();
    Main->CommandLine = std::move(commandLine);
    // Now that the settings name the temporary folder: the files of earlier runs that crashed or
    // were killed go, those of editors still running stay.
    OrphanSweep =
        std::jthread([folder = Settings.tempfolder] { TDataFile::RemoveOrphans(folder); });
    CreateDialogs();
    InstallUserInterface();
    WatchSignals();
#ifndef QT_NO_SESSIONMANAGER
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { RequestQuit(); });
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
    StopWatchingSignals();
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
    FormatChooser::Install(Chooser.get());
    TSaveOperations::SetMpegSettingsDialog(MpegSettings);
}

void TProgram::UninstallUserInterface() {
    TSaveOperations::SetMpegSettingsDialog(nullptr);
    FormatChooser::Install(nullptr);
    UserInterface::SetMessageBox(nullptr);
    UserInterface::SetErrorDisplay(nullptr);
    UserInterface::SetProgressHost(nullptr);
}

void TProgram::WatchSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, SignalSockets) != 0)
        return;
    auto* notifier = new QSocketNotifier(SignalSockets[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this] {
        char byte;
        [[maybe_unused]] const ssize_t read = ::read(SignalSockets[1], &byte, 1);
        RequestQuit();
    });
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

void TProgram::StopWatchingSignals() {
    if (SignalSockets[0] < 0)
        return;
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    ::close(SignalSockets[0]);
    ::close(SignalSockets[1]);
    SignalSockets[0] = SignalSockets[1] = -1;
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

void TProgram::RequestQuit() {
    // Nothing is freed under a running operation: its end comes first.
    if (OperationRunning()) {
        QTimer::singleShot(100, this, [this] { RequestQuit(); });
        return;
    }
    Main->SaveState();
    QApplication::quit();
}
