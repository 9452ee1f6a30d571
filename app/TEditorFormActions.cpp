// The main window's actions, menus and toolbar.
#include "TEditorForm.h"

#include "Guarded.h"
#include "RunCompanionProgram.h"
#include "TActionPairs.h"
#include "TMDIChild.h"
#include "TPngImageList.h"

#include <QAction>
#include <QActionGroup>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {

/// Companion programs of the Tools menu: caption, settings key, program file, web page.
struct TCompanion {
    const char* Name;
    const char* Caption;
    const char* RegistryKey;
    const char* ProgramFile;
    const char* WebPage;
};
constexpr TCompanion Companions[] = {
    {"VolumeControlAction", "&Volume Control", "Software\\freedesktop\\pavucontrol", "pavucontrol",
     "https://freedesktop.org/software/pulseaudio/pavucontrol/"},
    {"TagEditorAction", "&Tag Editor", "Software\\GNOME\\EasyTAG", "easytag",
     "https://wiki.gnome.org/Apps/EasyTAG"},
};

/// The long part of a "short|long" hint, or the whole hint.
QString LongHint(const char* hint) {
    const QString text = QString::fromLatin1(hint);
    const qsizetype bar = text.indexOf('|');
    return bar < 0 ? text : text.mid(bar + 1);
}

} // namespace

QAction* TEditorForm::MakeAction(const char* name, const char* caption, const char* hint, int image,
                                 std::function<void()> handler) {
    auto* action = new QAction(QString::fromLatin1(caption), this);
    action->setObjectName(name);
    action->setToolTip(LongHint(hint));
    action->setStatusTip(LongHint(hint));
    if (image >= 0)
        action->setIcon(TPngImageList::Editor(image));
    connect(action, &QAction::triggered, this,
            [handler = std::move(handler)] { Guarded(handler); });
    addAction(action);
    return action;
}

QAction* TEditorForm::Forwarding(const char* name, const char* caption, const char* hint, int image,
                                 void (TMDIChild::*handler)()) {
    return MakeAction(name, caption, hint, image, [this, handler] { Forward(handler); });
}

void TEditorForm::CreateActions() {
    CreateDocumentActions();
    CreateViewActions();
    CreateWindowActions();
    TActionPairs::SwitchOffFollowing(nullptr, this);
}

void TEditorForm::CreateDocumentActions() {
    NewAction =
        MakeAction("NewAction", "&New...", "Create new file", eiNew, [this] { FileNew1Execute(); });
    NewAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    OpenAction = MakeAction("OpenAction", "&Open", "Open|Open a file", eiOpen,
                            [this] { FileOpen1Execute(); });
    OpenAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    SaveAction = Forwarding("SaveAction", "&Save", "Save", eiSave, &TMDIChild::SaveActionExecute);
    SaveAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    SaveAsAction = Forwarding("SaveAsAction", "S&ave As...", "Save As...", eiSaveAs,
                              &TMDIChild::SaveAsActionExecute);
    SaveSelectedAction =
        Forwarding("SaveSelectedAction", "Sa&ve Selected As...          ", "Save Selected As...",
                   eiSaveSelected, &TMDIChild::SaveSelectedActionExecute);
    CloseAction = MakeAction("CloseAction", "&Close", "Close|Close current file", eiClose,
                             [this] { MDIArea->closeActiveSubWindow(); });
    PropertiesAction = Forwarding("PropertiesAction", "&File Properties...", "Show file properties",
                                  eiProperties, &TMDIChild::PropertiesActionExecute);
    SettingsAction = MakeAction("SettingsAction", "S&ettings...", "Open settings window",
                                eiSettings, [this] { SettingsActionExecute(); });
    ExitAction =
        MakeAction("ExitAction", "E&xit", "Exit|Exit application", eiExit, [this] { close(); });
    UndoAction = Forwarding("UndoAction", "&Undo", "Undo", eiUndo, &TMDIChild::UndoActionExecute);
    UndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    RedoAction = Forwarding("RedoAction", "&Redo", "Redo", eiRedo, &TMDIChild::RedoActionExecute);
    RedoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    CutAction = Forwarding("CutAction", "&Cut", "Cut", eiCut, &TMDIChild::CutActionExecute);
    CutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    CopyAction = Forwarding("CopyAction", "C&opy", "Copy", eiCopy, &TMDIChild::CopyActionExecute);
    CopyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    PasteAction =
        Forwarding("PasteAction", "&Paste", "Paste", eiPaste, &TMDIChild::PasteActionExecute);
    PasteAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    DeleteAction =
        Forwarding("DeleteAction", "&Delete", "Delete", eiDelete, &TMDIChild::DeleteActionExecute);
    DeleteAction->setShortcut(QKeySequence(Qt::Key_Delete));
    FadeInAction = Forwarding("FadeInAction", "&Fade In", "Fade In", eiFadeIn,
                              &TMDIChild::FadeInActionExecute);
    FadeOutAction = Forwarding("FadeOutAction", "F&ade Out", "Fade Out", eiFadeOut,
                               &TMDIChild::FadeOutActionExecute);
    SilentAction = Forwarding("SilentAction", "&Insert Silence...", "Insert Silence", eiSilence,
                              &TMDIChild::SilenceActionExecute);
    NormalizeAction = Forwarding("NormalizeAction", "&Normalization...", "Normalization",
                                 eiNormalize, &TMDIChild::NormalizationActionExecute);
    ReverseAction = Forwarding("ReverseAction", "&Reverse", "Reverse", eiReverse,
                               &TMDIChild::ReverseActionExecute);
    InvertAction =
        Forwarding("InvertAction", "In&vert", "Invert", eiInvert, &TMDIChild::InvertActionExecute);
    AplifyIAction = Forwarding("AplifyIAction", "A&mplify (Increase)...", "Amplify (Increase)",
                               eiAmplifyI, &TMDIChild::AmplifyIActionExecute);
    AmplifyDAction = Forwarding("AmplifyDAction", "Am&plify (Decrease)...", "Amplify (Decrease)",
                                eiAmplifyD, &TMDIChild::AmplifyDActionExecute);
}

void TEditorForm::CreateViewActions() {
    ZoomInAction = Forwarding("ZoomInAction", "&Zoom In                  ", "Zoom In", eiZoomIn,
                              &TMDIChild::ZoomInActionExecute);
    // The keypad's plus and minus arrive as plain Plus and Minus with the keypad flag, which no
    // shortcut that names the flag ever matches; Ctrl+= is plus on the main keys without Shift.
    ZoomInAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    ZoomOutAction = Forwarding("ZoomOutAction", "Z&oom Out", "Zoom Out", eiZoomOut,
                               &TMDIChild::ZoomOutActionExecute);
    ZoomOutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    ZoomFullAction = Forwarding("ZoomFullAction", "Zoo&m Full", "Zoom Full", eiZoomFull,
                                &TMDIChild::ZoomFullActionExecute);
    MsAction = MakeAction("MsAction", "&Milliseconds", "Show scale in milliseconds", -1,
                          [this] { MsActionExecute(); });
    SmplAction = MakeAction("SmplAction", "&Samples", "Show scale in samples", -1,
                            [this] { SmplActionExecute(); });
    auto* scale = new QActionGroup(this);
    for (QAction* action : {MsAction, SmplAction}) {
        action->setCheckable(true);
        scale->addAction(action);
    }
    BeginSelectionAction =
        MakeAction("BeginSelectionAction", "&Begin Selection", "Begin selection at cursor position",
                   -1, [this] { BeginSelectionActionExecute(); });
    BeginSelectionAction->setShortcut(QKeySequence(Qt::Key_BracketLeft));
    EndSelectionAction =
        MakeAction("EndSelectionAction", "End Selection", "End selection at cursor position", -1,
                   [this] { EndSelectionActionExecute(); });
    EndSelectionAction->setShortcut(QKeySequence(Qt::Key_BracketRight));
    SelectAllAction = Forwarding("SelectAllAction", "&Select All", "Select entire file", -1,
                                 &TMDIChild::SelectAllActionExecute);
    SelectAllAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    DeselectAction = Forwarding("DeselectAction", "D&eselect All                   ",
                                "Remove selection", -1, &TMDIChild::DeselectAllActionExecute);
    DeselectAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    PlayAction = MakeAction("PlayAction", "&Play", "Play", eiPlay, [this] { PlayActionExecute(); });
    PlayAction->setShortcut(QKeySequence(Qt::Key_Space));
    StopAction = MakeAction("StopAction", "&Stop", "Stop", eiStop, [this] { StopActionExecute(); });
    GoStartAction = MakeAction("GoStartAction", "&Jump to Start      ", "Move cursor to the start",
                               eiGoStart, [this] { SendKeyToView(36); });
    GoStartAction->setShortcut(QKeySequence(Qt::Key_Home));
    RewindAction =
        MakeAction("RewindAction", "&Rewind", "Move curor back", -1, [this] { SendKeyToView(37); });
    forwardAction = MakeAction("forwardAction", "&Fast Forward", "Move cursor forward", -1,
                               [this] { SendKeyToView(39); });
    GoEndAction = MakeAction("GoEndAction", "J&ump to End", "Move cursor to the end", eiGoEnd,
                             [this] { SendKeyToView(35); });
    GoEndAction->setShortcut(QKeySequence(Qt::Key_End));
}

void TEditorForm::CreateWindowActions() {
    HelpContentAction =
        MakeAction("HelpContentAction", "&Help Content              ", "Open help contents",
                   eiHelpContent, [this] { HelpContentActionExecute(); });
    HelpContentAction->setShortcut(QKeySequence(Qt::Key_F1));
    CheckUpdatesAction = MakeAction("CheckUpdatesAction", "&Check updates...", "Check updates", -1,
                                    [this] { CheckUpdatesActionExecute(); });
    AboutAction =
        MakeAction("AboutAction", "&About...", "About|Version and web page of Sondrix Audio Editor",
                   -1, [this] { HelpAbout1Execute(); });
    WindowCascade2 = MakeAction("WindowCascade2", "&Cascade", "Cascade", -1, [this] { Cascade(); });
    WindowTileHorizontal2 = MakeAction("WindowTileHorizontal2", "Tile &Horizontally",
                                       "Tile Horizontally", -1, [this] { TileHorizontally(); });
    WindowTileVertical2 = MakeAction("WindowTileVertical2", "Tile &Vertically", "Tile Vertically",
                                     -1, [this] { TileVertically(); });
    WindowMinimizeAll2 = MakeAction("WindowMinimizeAll2", "&Minimize All", "Minimize All", -1,
                                    [this] { MinimizeAll(); });
    WindowArrange1 =
        MakeAction("WindowArrange1", "&Arrange All", "Arrange All", -1, [this] { ArrangeAll(); });
    for (size_t i = 0; i < MRUActionList.size(); ++i) {
        MRUActionList[i] = MakeAction(("Action" + std::to_string(i + 1)).c_str(), "", "", -1,
                                      [this, i] { MRUActionExecute(int(i)); });
    }
}

void TEditorForm::CreateMenus() {
    FileMenu = menuBar()->addMenu("&File");
    FileMenu->addActions(
        {NewAction, OpenAction, SaveAction, SaveAsAction, SaveSelectedAction, CloseAction});
    FileMenu->addSeparator();
    FileMenu->addAction(PropertiesAction);
    FileMenu->addSeparator();
    FileMenu->addAction(SettingsAction);
    FileMenu->addSeparator();
    FileMenu->addAction(ExitAction);
    QMenu* viewMenu = menuBar()->addMenu("&View");
    viewMenu->addActions({ZoomInAction, ZoomOutAction, ZoomFullAction});
    viewMenu->addSeparator();
    QMenu* scale = viewMenu->addMenu("&Scale Format");
    scale->addActions({MsAction, SmplAction});
    QMenu* edit = menuBar()->addMenu("&Edit");
    edit->addActions({UndoAction, RedoAction});
    edit->addSeparator();
    edit->addActions({CutAction, CopyAction, PasteAction, DeleteAction});
    edit->addSeparator();
    edit->addActions({BeginSelectionAction, EndSelectionAction, SelectAllAction, DeselectAction});
    QMenu* control = menuBar()->addMenu("&Control");
    control->addActions({PlayAction, StopAction});
    control->addSeparator();
    control->addActions({GoStartAction, RewindAction, forwardAction, GoEndAction});
    QMenu* operations = menuBar()->addMenu("&Operations");
    operations->addActions({FadeInAction, FadeOutAction, SilentAction, NormalizeAction,
                            ReverseAction, InvertAction, AplifyIAction, AmplifyDAction});
    QMenu* tools = menuBar()->addMenu("&Tools");
    for (const TCompanion& companion : Companions) {
        tools->addAction(
            MakeAction(companion.Name, companion.Caption, companion.Caption, -1, [companion] {
                RunCompanionProgram(companion.RegistryKey, companion.ProgramFile, "",
                                    companion.WebPage);
            }));
    }
    WindowMenu = menuBar()->addMenu("&Window");
    connect(WindowMenu, &QMenu::aboutToShow, this, [this] { FillWindowMenu(); });
    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(HelpContentAction);
    help->addSeparator();
    help->addAction(CheckUpdatesAction);
    help->addSeparator();
    help->addAction(AboutAction);
    FillWindowMenu();
}

void TEditorForm::CreateToolBar() {
    ActionToolBar1 = addToolBar("ActionToolBar1");
    ActionToolBar1->setObjectName("ActionToolBar1");
    ActionToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ActionToolBar1->setMovable(false);
    ActionToolBar1->setFloatable(false);
    ActionToolBar1->setMinimumHeight(26);
    // 16 px pictures, so that every button fits in the window's starting width.
    ActionToolBar1->setIconSize(QSize(16, 16));
    ActionToolBar1->addAction(NewAction);
    OpenDropDown = new QMenu(this);
    OpenDropDown->setObjectName("OpenDropDown");
    OpenButton = new QToolButton(this);
    OpenButton->setObjectName("OpenButton");
    OpenButton->setDefaultAction(OpenAction);
    OpenButton->setMenu(OpenDropDown);
    OpenButton->setPopupMode(QToolButton::MenuButtonPopup);
    ActionToolBar1->addWidget(OpenButton);
    ActionToolBar1->addAction(SaveAction);
    const std::initializer_list<std::initializer_list<QAction*>> groups = {
        {CutAction, CopyAction, PasteAction, DeleteAction},
        {UndoAction, RedoAction},
        {ZoomInAction, ZoomOutAction, ZoomFullAction},
        {GoStartAction, PlayAction, StopAction, GoEndAction},
        {FadeInAction, FadeOutAction, SilentAction, NormalizeAction, ReverseAction, InvertAction,
         AplifyIAction, AmplifyDAction, HelpContentAction},
    };
    for (const auto& group : groups) {
        ActionToolBar1->addSeparator();
        ActionToolBar1->addActions(group);
    }
}
