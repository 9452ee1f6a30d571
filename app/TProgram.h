#pragma once

#include <QObject>

#include <memory>
#include <string>
#include <thread>
#include <vector>

class DialogFormatChooser;
class TApplicationErrorDisplay;
class TApplicationMessageBox;
class TEditorForm;
class TProgressForm;
class Tmpegsettings;

/// The running editor from its start to its end: creates the main window (which loads the
/// settings), deletes in the background the temporary files that crashed earlier runs left, and
/// creates the dialogs that live for the whole run, installs the windows through which the
/// engine reaches the user, and on the way out stores the settings, lets go of the clipboard and
/// deletes every temporary file. The same way out is taken when the main window closes, when the
/// desktop session ends and on SIGTERM or SIGINT; it waits for a running operation to end.
///
/// One instance, on the main thread, after the QApplication and the worker registrations.
class TProgram : public QObject {
public:
    /// `commandLine`: the file names to open after the main window first shows.
    explicit TProgram(std::vector<std::string> commandLine);
    ~TProgram() override;
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    /// Shows the main window and runs the event loop until the program ends; the exit code.
    int Run();

    /// Ends the program without asking the document windows, once no operation runs: stores
    /// the settings and leaves the event loop.
    void RequestQuit();

    std::unique_ptr<TEditorForm> Main;

private:
    void CreateDialogs();
    void InstallUserInterface();
    void UninstallUserInterface();
    void WatchSignals();
    void StopWatchingSignals();
    bool OperationRunning() const;

    std::unique_ptr<TApplicationErrorDisplay> ErrorDisplay;
    std::unique_ptr<TApplicationMessageBox> MessageBox;
    std::unique_ptr<DialogFormatChooser> Chooser;
    Tmpegsettings* MpegSettings = nullptr;
    TProgressForm* Progress = nullptr;
    std::jthread OrphanSweep;
};
