#pragma once

#include <QMdiSubWindow>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class QAction;
class QFileDialog;
class QFrame;
class QMenu;
class QStatusBar;
class QTimer;
class TEditorForm;
class TScrollBar;
class TStatusPanel;
class TWaveView;
class Twavefile;

/// The window of one open document inside the main window's frame: it owns a waveform view and
/// a document, turns the document's events into the scroll range, the status bar and the state of
/// the actions, mirrors the view's cursor and selection into the main window's shared controls
/// while it is the active document window, and turns its actions (and the main window's, which
/// forward to the active window) into requests on the document.
///
/// Create it with CreateOpen or CreateNew: both add the window to the frame and show it before
/// the document starts loading, and the window may close itself at once (a load that fails). A
/// closed window deletes itself later, never while one of its handlers runs. Main thread only.
///
/// The definitions go by role: TMDIChild.cpp (creation, events, the shared controls),
/// TMDIChildActions.cpp (actions and context menu), TMDIChildSave.cpp (saving) and
/// TMDIChildEdit.cpp (edits, playback, scale format).
class TMDIChild : public QMdiSubWindow {
    Q_OBJECT

public:
    /// Opens `fileName` in a new document window of `owner`.
    static TMDIChild* CreateOpen(TEditorForm& owner, const std::string& fileName);
    /// A new empty 16-bit document "untitled.tmp" of the given format in a new window.
    static TMDIChild* CreateNew(TEditorForm& owner, int32_t sampleRate, int32_t channels);

    ~TMDIChild() override;

    // --- Routines ---

    void openfile(const std::string& fileName);
    /// `bits` is not used: a document is always 16-bit.
    void createaudiofile(const std::string& name, int32_t sampleRate, int32_t channels,
                         int32_t bits);
    /// Writes the file name (the part after the last "/") before the program's title in the main
    /// window's caption and as this window's caption; an empty name leaves the title alone.
    void updatecaption(const std::string& fileName);
    /// This window's six selection-dependent actions.
    void applyselection(bool enabled);
    /// The main window's six selection-dependent actions.
    void applyselectionmain(bool enabled);

    // --- Events of the document and the view ---

    void onReady();
    void OnAction(bool canUndo, bool canRedo);
    void onLoaded();
    void onCursor(uint32_t position, int64_t positions);
    void onSelect(uint32_t start, uint32_t stop, int64_t startms, int64_t stopms, bool selected);
    void playprocess(bool action);

    // --- The main window's shared controls, wired while this window is active ---

    void selClick();
    void PickStartSClick();
    void PickStopSClick();

    // --- Form events ---

    /// This window became the active document window: stops playback everywhere and takes over
    /// the main window's shared controls. The main window also calls it after a scale change.
    void FormActivate();
    /// True when the window may close: never while an operation runs; otherwise the view's close
    /// question decides (a Yes whose save succeeded lets it close at once).
    bool FormCloseQuery();
    void FormClose();
    void FormMouseWheelDown();
    void FormMouseWheelUp();
    void ScrollChange();
    void ProgressTimerTimer();
    void VizTimerTimer();
    void SaveDialogTypeChange(int filterIndex);

    // --- Action handlers ---

    void SaveActionExecute();
    void SaveAsActionExecute();
    void SaveSelectedActionExecute();
    void PropertiesActionExecute();
    void ZoomInActionExecute();
    void ZoomOutActionExecute();
    void ZoomFullActionExecute();
    void UndoActionExecute();
    void RedoActionExecute();
    void CutActionExecute();
    void CopyActionExecute();
    void PasteActionExecute();
    void DeleteActionExecute();
    void SelectAllActionExecute();
    void DeselectAllActionExecute();
    void PlayActionExecute();
    void StopActionExecute();
    void FadeInActionExecute();
    void FadeOutActionExecute();
    void SilenceActionExecute();
    void NormalizationActionExecute();
    void ReverseActionExecute();
    void InvertActionExecute();
    void AmplifyIActionExecute();
    void AmplifyDActionExecute();
    void MsActionExecute();
    void SmplActionExecute();

    // --- Components and fields ---

    TEditorForm& Main;
    TWaveView* view = nullptr;
    std::unique_ptr<Twavefile> document;
    bool playing = false;

    QWidget* Client;
    QFrame* Panel1;
    TScrollBar* Scroll;
    QStatusBar* StatusBar;
    /// Format, cursor position, maximum amplitude, duration, and one never written.
    std::array<TStatusPanel*, 5> Panels{};
    QTimer* ProgressTimer;
    QTimer* VizTimer;
    QFileDialog* SaveDialog;
    /// The extension Save As appends to a name without ".wav" or ".mp3"; follows the type last
    /// chosen in this window's dialog.
    std::string DefaultExt = ".wav";
    QMenu* PopupActionBar1;

    QAction* SaveAction;
    QAction* SaveAsAction;
    QAction* SaveSelectedAction;
    QAction* PropertiesAction;
    QAction* ZoomInAction;
    QAction* ZoomOutAction;
    QAction* ZoomFullAction;
    QAction* UndoAction;
    QAction* RedoAction;
    QAction* CutAction;
    QAction* CopyAction;
    QAction* PasteAction;
    QAction* DeleteAction;
    QAction* SelectAllAction;
    QAction* DeselectAllAction;
    QAction* PlayAction;
    QAction* StopAction;
    QAction* FadeInAction;
    QAction* FadeOutAction;
    QAction* SilenceAction;
    QAction* NormalizationAction;
    QAction* ReverseAction;
    QAction* InvertAction;
    QAction* AmplifyIAction;
    QAction* AmplifyDAction;
    QAction* MsAction;
    QAction* SmplAction;
    QAction* SettingsAction;
    QAction* ScaleFormatAction;
    QAction* ConvertAction;

protected:
    void closeEvent(QCloseEvent* event) override;
    /// The wheel over the view zooms.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    explicit TMDIChild(TEditorForm& owner);

    void FormCreate();
    /// Adds the window to the main window's frame with a client area of the default size (or as
    /// much of it as the frame holds), inside the frame, maximised when the frame's windows are.
    void JoinFrame();
    void CreateActions();
    QAction* MakeAction(const char* name, const char* caption, void (TMDIChild::*handler)(),
                        int image = -1);
    void CreateComponents();
    void CreateTimers();
    void CreateSaveDialog();
    void CreatePopupMenu();
    void CreateView();
    void BindDocument();
    bool DocumentReady() const;
    void ResetScroll();
    void ResetSelectionEdits();
    void ShowSelectionEdits();
    void ShowCursorPanel();
    void WireSharedControls();
    void DetachSharedControls();
    void SetPlayState(bool isPlaying);
    void QueueCloseAfterSave();
    /// The typed selection as frames, inside the document and in order.
    void TypedSelection(uint32_t& start, uint32_t& stop) const;
    /// Saves under the document's own name when it ends in ".wav" or ".mp3", else through Save
    /// As; true when a save started.
    bool SaveDocumentNow();
    bool SaveAs();
    std::string ChooseSaveName(int& filterIndex);
    bool ConfirmOverwrite(const std::string& name, const std::string& question) const;
    void Amplify(int32_t preset);
    void SetScale(int32_t selectiontype);
    void WheelTurned(int delta);

    std::array<QMetaObject::Connection, 3> SharedConnections{};
    /// Set when the document reports an operation that ended without success.
    bool OperationFailed = false;
    /// Set while the close question runs.
    bool Closing = false;
    int WheelDelta = 0;
};
