#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QFileDialog;
class QGroupBox;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;
class QToolButton;
class TMDIChild;
class TMaskEdit;
class TSharedControls;
class TVUMeter;

/// The main window: the frame that holds every document window, with the menu bar, the toolbar,
/// the shared selection, cursor and level controls that the active document window drives, the
/// recent-files list, dropped files, the command line and help. Nearly every command forwards to
/// the active document window and does nothing without one.
///
/// Its creation loads the settings and the recent files; its close (after every document window
/// agreed to close) stores them. Main thread only.
///
/// The definitions go by role: TEditorForm.cpp (creation, files, document commands),
/// TEditorFormActions.cpp (actions, menus, toolbar), TEditorFormPanel.cpp (the frame and the
/// shared controls' panel) and TEditorFormWindows.cpp (Window menu).
class TEditorForm : public QMainWindow {
    Q_OBJECT

public:
    /// Recent files shown in the menus at most.
    static constexpr int RecentCount = 5;

    explicit TEditorForm(QWidget* parent = nullptr);
    ~TEditorForm() override;

    // --- Operations the document windows call ---

    /// Switches the document actions and the shared controls.
    void enablecontrols(bool enabled);
    /// Stops playback in every document window; Space plays again.
    void StopAll();
    /// Opens a file, or brings the window that shows it to the front.
    void openorshow(const std::string& fileName);
    /// Records a newly opened file in the recent files and their menus.
    void addrecent(const std::string& fileName);

    /// The size of the frame's area that holds the document windows.
    QSize FrameSize() const;
    /// Adds a new document window to the frame.
    void AddDocumentWindow(QMdiSubWindow& window);
    /// The selection, cursor, level and playback controls that the active document window drives.
    TSharedControls& SharedControls() const;

    /// The active document window, or null.
    TMDIChild* ActiveChild() const;
    /// Every document window, in the frame's order.
    std::vector<TMDIChild*> Children() const;
    int MDIChildCount() const;

    /// Stores the window's placement, the settings and the recent files.
    void SaveState();
    /// Asks every document window to close, in turn, stopping at the first that refuses; true
    /// when all of them closed.
    bool CloseAllChildren();

    // --- Action handlers ---

    void FileNew1Execute();
    void FileOpen1Execute();
    void MRUActionExecute(int index);
    void HelpContentActionExecute();
    void SettingsActionExecute();
    void HelpAbout1Execute();
    void CheckUpdatesActionExecute();
    void PlayActionExecute();
    void StopActionExecute();
    void MsActionExecute();
    void SmplActionExecute();
    void BeginSelectionActionExecute();
    void EndSelectionActionExecute();
    /// Sends a key (35 End, 36 Home, 37 Left, 39 Right) to the active document window's view.
    void SendKeyToView(int key);
    /// Runs `handler` of the active document window, when there is one.
    void Forward(void (TMDIChild::*handler)());

    // --- Window menu (TEditorFormWindows.cpp) ---

    /// Stacks the shown windows, each a title bar lower and further right than the one below it,
    /// all inside the frame; the active window comes out on top.
    void Cascade();
    void TileHorizontally();
    void TileVertically();
    void MinimizeAll();
    /// Lines the minimised windows up along the bottom of the frame, in as many rows as they need.
    void ArrangeAll();

    // --- Components ---

    QMdiArea* MDIArea;
    /// Created when the Open command first runs.
    QFileDialog* OpenDialog = nullptr;
    QWidget* Panel2;
    QToolBar* ActionToolBar1;
    QMenu* FileMenu;
    QMenu* WindowMenu;
    QMenu* OpenDropDown;
    QToolButton* OpenButton;
    QCheckBox* sel;
    TMaskEdit* selstart;
    TMaskEdit* selstop;
    QToolButton* PickStartMS;
    QToolButton* PickStopMS;
    QGroupBox* GroupBox3;
    QLabel* timedisplay;
    QGroupBox* GroupBox2;
    TVUMeter* VUMeter1;
    QLabel* background;
    /// The recent-file actions Action1 … Action5; each keeps its file name as its data.
    std::array<QAction*, RecentCount> MRUActionList{};
    bool firstshow = true;
    /// The file names the program was started with, opened after the first showing.
    std::vector<std::string> CommandLine;

    QAction* NewAction;
    QAction* OpenAction;
    QAction* SaveAction;
    QAction* SaveAsAction;
    QAction* SaveSelectedAction;
    QAction* CloseAction;
    QAction* PropertiesAction;
    QAction* SettingsAction;
    QAction* ExitAction;
    QAction* ZoomInAction;
    QAction* ZoomOutAction;
    QAction* ZoomFullAction;
    QAction* MsAction;
    QAction* SmplAction;
    QAction* UndoAction;
    QAction* RedoAction;
    QAction* CutAction;
    QAction* CopyAction;
    QAction* PasteAction;
    QAction* DeleteAction;
    QAction* BeginSelectionAction;
    QAction* EndSelectionAction;
    QAction* SelectAllAction;
    QAction* DeselectAction;
    QAction* PlayAction;
    QAction* StopAction;
    QAction* GoStartAction;
    QAction* RewindAction;
    QAction* forwardAction;
    QAction* GoEndAction;
    QAction* FadeInAction;
    QAction* FadeOutAction;
    QAction* SilentAction;
    QAction* NormalizeAction;
    QAction* ReverseAction;
    QAction* InvertAction;
    QAction* AplifyIAction;
    QAction* AmplifyDAction;
    QAction* HelpContentAction;
    QAction* CheckUpdatesAction;
    QAction* AboutAction;
    QAction* WindowCascade2;
    QAction* WindowTileHorizontal2;
    QAction* WindowTileVertical2;
    QAction* WindowMinimizeAll2;
    QAction* WindowArrange1;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    /// Centres the picture of the empty frame in the frame's area.
    void FormResize();
    /// Shows the picture while no document window is open.
    void ShowBackground();

    // Actions, menus and toolbar (TEditorFormActions.cpp)
    void CreateActions();
    void CreateDocumentActions();
    void CreateViewActions();
    void CreateWindowActions();
    QAction* MakeAction(const char* name, const char* caption, const char* hint, int image,
                        std::function<void()> handler);
    QAction* Forwarding(const char* name, const char* caption, const char* hint, int image,
                        void (TMDIChild::*handler)());
    void CreateMenus();
    void CreateToolBar();

    // Frame and panel (TEditorFormPanel.cpp)
    void CreatePanel();
    QWidget* CreateSelectionGroup();

    void CreateOpenDialog();
    void buildrecentmenu();
    void InsertRecentSeparator();
    void InsertRecentItems(int index);
    void ShowRecentCaption(int index);

    // Window menu (TEditorFormWindows.cpp)
    void FillWindowMenu();
    /// The document windows that are neither hidden nor minimised.
    std::vector<QMdiSubWindow*> ShownWindows() const;
    /// Shares the frame among the shown windows: one above the other when `stacked`, else side
    /// by side.
    void Tile(bool stacked);
    /// Moves the window back inside the frame where it reaches past the frame's edges.
    void KeepInside(QMdiSubWindow& window) const;

    void RestorePlacement();
    void StorePlacement();
    void ChildActivated(QMdiSubWindow* window);
    void OpenNames(const std::vector<std::string>& names);
    void WMDropFiles(const std::string& fileName);

    std::unique_ptr<TSharedControls> Shared;
    QAction* RecentSeparator = nullptr;
    QPointer<QMdiSubWindow> LastActive;
};

/// The program's main window.
extern TEditorForm* EditorForm;
