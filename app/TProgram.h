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
class TSignalWatch;
class Tmpegsettings;

/// The running editor from its start to its end: creates the main window (which loads the
/// settings), deletes in the background the temporary files that crashed earlier runs left, and
/// creates the dialogs that live for the whole run, installs the windows through which the
/// engine reaches the user, and on the way out stores the settings, lets go of the clipboard and
/// deletes every temporary file. The same way out is taken when the main window closes, when the
/// desktop session ends and on SIGTERM, SIGINT or SIGHUP. A signal, or a session that ends without
/// letting the program talk to the user, ends it without asking anything: a running operation is
/// waited for a few seconds at most, and a dialog that is open never learns how it ended.
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

    /// Ends the program without asking anything: waits up to `OperationWaitMs` for a running
    /// operation, stores the settings, and leaves the event loop; with a dialog open, deletes the
    /// temporary files and ends the process at once instead, so that no code after the dialog runs
    /// as if the user had answered it. Calls after the first do nothing.
    void EndWithoutAsking();

    /// The desktop session ends. With `interactionAllowed` the main window closes as the Exit
    /// command closes it, asking about every modified document; false when the program stays
    /// (the user cancelled, or a dialog is open), which cancels the session's end. Without, the
    /// program ends without asking and true is returned.
    bool EndSession(bool interactionAllowed);

    /// How long an ending program waits for a running operation.
    static constexpr int OperationWaitMs = 3000;

    std::unique_ptr<TEditorForm> Main;

private:
    void CreateDialogs();
    void InstallUserInterface();
    void UninstallUserInterface();
    bool OperationRunning() const;
    /// Runs the calls that workers hand to the main thread, and nothing else, until no operation
    /// runs or `OperationWaitMs` passed.
    void AwaitOperations();

    std::unique_ptr<TApplicationErrorDisplay> ErrorDisplay;
    std::unique_ptr<TApplicationMessageBox> MessageBox;
    std::unique_ptr<DialogFormatChooser> Chooser;
    Tmpegsettings* MpegSettings = nullptr;
    TProgressForm* Progress = nullptr;
    bool Ending = false;
    std::unique_ptr<TSignalWatch> Signals;
    std::jthread OrphanSweep;
};
