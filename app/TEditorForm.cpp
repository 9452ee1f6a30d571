#include "TEditorForm.h"

#include "ApplicationTitle.h"
#include "AudioClipboard.h"
#include "Exceptions.h"
#include "Guarded.h"
#include "RunCompanionProgram.h"
#include "Settings.h"
#include "ShowHelpTopic.h"
#include "StrToInt.h"
#include "TAboutForm.h"
#include "TActionPairs.h"
#include "TMDIChild.h"
#include "TMaskEdit.h"
#include "TModalFocusKeeper.h"
#include "TNewFileForm.h"
#include "TPngImageList.h"
#include "TPositionText.h"
#include "TSharedControls.h"
#include "TVUMeter.h"
#include "TWaveView.h"
#include "TsettingsForm.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <filesystem>

TEditorForm* EditorForm = nullptr;

namespace {

/// The Open dialog's filters: label and pattern.
constexpr const char* OpenFilters[][2] = {
    {"All supported files",
     "*.wav;*.wma;*.mp3;*.ogg;*.aiff;*.aac;*.ac3;*.ape;*.mpc;*.flac;*.wv;*.tta;*.alac;*.spx;*.ofr;"
     "*.opus;"},
    {"WAV files", "*.wav"},
    {"WMA files", "*.wma"},
    {"MP3 files", "*.mp3"},
    {"OGG Vorbis", "*.ogg"},
    {"AIFF Audio", "*.aiff"},
    {"AAC files", "*.aac"},
    {"AC3 files", "*.ac3"},
    {"APE files", "*.ape"},
    {"MPC files", "*.mpc"},
    {"FLAC files", "*.flac"},
    {"WV files", "*.wv"},
    {"OPUS files", "*.opus"},
    {"TTA files", "*.tta"},
    {"OptimFROG", "*.ofr"},
    {"ALAC files", "*.alac"},
    {"SPEEX files", "*.spx"},
};

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

constexpr int FileMenuRecentSeparator = 10;
constexpr int FileMenuRecentItems = 11;

std::string AbsoluteName(const std::string& name) {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(name, error);
    return error ? name : path.lexically_normal().string();
}

bool IsRegularFile(const std::string& name) {
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

/// True when both names are the same file: equal, or (for names of files on disk) leading to the
/// same device and inode once links are followed. Names differing in case are different files.
bool SameFile(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    // A new document's name ("untitled.tmp") is no file on disk.
    if (!std::filesystem::path(a).is_absolute() || !std::filesystem::path(b).is_absolute())
        return false;
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

/// The long part of a "short|long" hint, or the whole hint.
QString LongHint(const char* hint) {
    const QString text = QString::fromLatin1(hint);
    const qsizetype bar = text.indexOf('|');
    return bar < 0 ? text : text.mid(bar + 1);
}

QString QtFilter(const char* label, const char* pattern) {
    QStringList patterns;
    for (const QString& p : QString::fromLatin1(pattern).split(';', Qt::SkipEmptyParts))
        patterns << p << p.toUpper();
    return QString::fromLatin1(label) + " (" + patterns.join(' ') + ")";
}

std::vector<std::string> RunDialog(QFileDialog& dialog) {
    std::vector<std::string> names;
    if (dialog.exec() == QDialog::Accepted)
        for (const QString& name : dialog.selectedFiles())
            names.push_back(name.toStdString());
    return names;
}

QVBoxLayout* GroupLayout(QGroupBox* group) {
    auto* layout = new QVBoxLayout(group);
    layout->setContentsMargins(4, 0, 4, 2);
    return layout;
}

void InsertAt(QMenu* menu, int position, QAction* action) {
    menu->insertAction(menu->actions().value(position), action);
}

} // namespace

TEditorForm::TEditorForm(QWidget* parent)
    : QMainWindow(parent)
    , RunOpenDialog(RunDialog) {
    EditorForm = this;
    setObjectName("EditorForm");
    setWindowTitle(ApplicationTitle);
    setWindowIcon(TPngImageList::ApplicationIcon());
    CreateActions();
    CreatePanel();
    Shared = std::make_unique<TSharedControls>(
        TSharedControls::TWidgets{sel, selstart, selstop, PickStartMS, PickStopMS, timedisplay,
                                  VUMeter1, PlayAction, StopAction});
    CreateMenus();
    CreateToolBar();
    FormCreate();
    new TModalFocusKeeper(this);
}

TEditorForm::~TEditorForm() {
    // The document windows go while this window is still whole: they use its controls.
    MDIArea->disconnect(this);
    qDeleteAll(MDIArea->subWindowList());
    delete AboutForm;
    AboutForm = nullptr;
    if (EditorForm == this)
        EditorForm = nullptr;
}

// --- Creation ---

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
    TActionPairs::Enable(nullptr, this, TActionRole::Selection, false);
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

void TEditorForm::FillWindowMenu() {
    WindowMenu->clear();
    WindowMenu->addActions({WindowCascade2, WindowTileHorizontal2, WindowTileVertical2,
                            WindowMinimizeAll2, WindowArrange1});
    const std::vector<TMDIChild*> children = Children();
    if (!children.empty())
        WindowMenu->addSeparator();
    int number = 1;
    for (TMDIChild* child : children) {
        QAction* item = WindowMenu->addAction(
            QString("&%1 %2").arg(number++).arg(child->windowTitle().replace('&', "&&")));
        item->setCheckable(true);
        item->setChecked(child == ActiveChild());
        connect(item, &QAction::triggered, child,
                [this, child] { MDIArea->setActiveSubWindow(child); });
    }
}

void TEditorForm::CreateToolBar() {
    ActionToolBar1 = addToolBar("ActionToolBar1");
    ActionToolBar1->setObjectName("ActionToolBar1");
    ActionToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ActionToolBar1->setMovable(false);
    ActionToolBar1->setFloatable(false);
    ActionToolBar1->setMinimumHeight(26);
    // The small pictures: every button fits the designed width.
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

void TEditorForm::CreatePanel() {
    auto* central = new QWidget(this);
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    MDIArea = new QMdiArea(central);
    MDIArea->setObjectName("MDIArea");
    connect(MDIArea, &QMdiArea::subWindowActivated, this,
            [this](QMdiSubWindow* window) { ChildActivated(window); });
    background = new QLabel(MDIArea->viewport());
    background->setObjectName("background");
    background->setPixmap(TPngImageList::Background());
    background->resize(450, 450);
    background->lower();
    // The picture is centred whenever the frame's area changes size, and shows only while the
    // frame is empty.
    MDIArea->viewport()->installEventFilter(this);
    column->addWidget(MDIArea, 1);
    Panel2 = new QWidget(central);
    Panel2->setObjectName("Panel2");
    Panel2->setFixedHeight(72);
    auto* row = new QHBoxLayout(Panel2);
    row->setContentsMargins(6, 0, 6, 2);
    row->addWidget(CreateSelectionGroup());
    GroupBox3 = new QGroupBox("  Cursor  ", Panel2);
    GroupBox3->setObjectName("GroupBox3");
    timedisplay = new QLabel("00:00:000", GroupBox3);
    timedisplay->setObjectName("timedisplay");
    QFont font("Tahoma");
    font.setBold(true);
    font.setPixelSize(27);
    timedisplay->setFont(font);
    timedisplay->setAlignment(Qt::AlignCenter);
    GroupLayout(GroupBox3)->addWidget(timedisplay);
    row->addWidget(GroupBox3);
    GroupBox2 = new QGroupBox("  Levels  ", Panel2);
    GroupBox2->setObjectName("GroupBox2");
    VUMeter1 = new TVUMeter(GroupBox2);
    VUMeter1->setObjectName("VUMeter1");
    VUMeter1->backcolor = 0;
    VUMeter1->forecolor = 5555555;
    GroupLayout(GroupBox2)->addWidget(VUMeter1);
    row->addWidget(GroupBox2);
    row->addStretch(1);
    column->addWidget(Panel2);
    setCentralWidget(central);
    statusBar()->setObjectName("StatusBar");
}

QWidget* TEditorForm::CreateSelectionGroup() {
    auto* group = new QWidget(Panel2);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(0, 0, 0, 0);
    sel = new QCheckBox("Selection  ", group);
    sel->setObjectName("sel");
    grid->addWidget(sel, 0, 0, 1, 3);
    selstart = new TMaskEdit(group);
    selstart->setObjectName("selstart");
    selstop = new TMaskEdit(group);
    selstop->setObjectName("selstop");
    PickStartMS = new QToolButton(group);
    PickStartMS->setObjectName("PickStartMS");
    PickStopMS = new QToolButton(group);
    PickStopMS->setObjectName("PickStopMS");
    int line = 1;
    for (auto [label, edit, pick] :
         {std::tuple{"Begin:", selstart, PickStartMS}, {"End:", selstop, PickStopMS}}) {
        edit->setAcceptDrops(false);
        pick->setToolTip("Pick cursor position");
        pick->setStatusTip("Pick cursor position");
        pick->setText("<");
        grid->addWidget(new QLabel(label, group), line, 0);
        grid->addWidget(edit, line, 1);
        grid->addWidget(pick, line, 2);
        ++line;
    }
    return group;
}

void TEditorForm::FormCreate() {
    setAcceptDrops(true);
    RecentFiles.clear();
    LoadSettings();
    // Only the newest entries have actions.
    if (RecentFiles.size() > size_t(RecentCount))
        RecentFiles.erase(RecentFiles.begin(), RecentFiles.end() - RecentCount);
    Settings.filterindex = 0;
    buildrecentmenu();
    (Settings.selectiontype != 0 ? SmplAction : MsAction)->setChecked(true);
    Shared->ApplyScale();
    RestorePlacement();
    enablecontrols(false);
    AboutForm = new TAboutForm(this);
    firstshow = true;
}

void TEditorForm::RestorePlacement() {
    resize(771, 516 + menuBar()->sizeHint().height() + ActionToolBar1->sizeHint().height());
    if (Settings.width != -1 && Settings.height != -1)
        resize(Settings.width, Settings.height);
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    resize(size().boundedTo(available.size()));
    const QPoint stored(Settings.posx, Settings.posy);
    const bool storedPosition = Settings.posx != -1 || Settings.posy != -1;
    const QScreen* screen = storedPosition ? QGuiApplication::screenAt(stored) : nullptr;
    if (screen == nullptr) {
        move(available.center() - rect().center());
        return;
    }
    // The whole window stays on the screen its stored corner is on.
    const QRect area = screen->availableGeometry();
    move(std::max(area.left(), std::min(stored.x(), area.right() + 1 - width())),
         std::max(area.top(), std::min(stored.y(), area.bottom() + 1 - height())));
}

void TEditorForm::StorePlacement() {
    const bool shownNormal = !isMinimized() && !isMaximized() && !isFullScreen();
    const QRect normal = shownNormal ? geometry() : normalGeometry();
    // The position is the frame's (as move() takes it), the size the client area's.
    const QPoint frame = normal.topLeft() - (geometry().topLeft() - pos());
    // Some platforms (Wayland) never report where a window stands.
    const bool positions = QGuiApplication::platformName() != "wayland";
    Settings.posx = positions ? frame.x() : -1;
    Settings.posy = positions ? frame.y() : -1;
    Settings.width = normal.width();
    Settings.height = normal.height();
}

// --- Recent files ---

void TEditorForm::ShowRecentCaption(int index) {
    const QString name = QString::fromStdString(RecentFiles[size_t(index)]);
    MRUActionList[size_t(index)]->setText(QString(name).replace('&', "&&"));
    MRUActionList[size_t(index)]->setData(name);
}

void TEditorForm::InsertRecentItems(int index) {
    InsertAt(FileMenu, FileMenuRecentItems, MRUActionList[size_t(index)]);
    InsertAt(OpenDropDown, 0, MRUActionList[size_t(index)]);
    ShowRecentCaption(index);
}

void TEditorForm::InsertRecentSeparator() {
    RecentSeparator = new QAction(this);
    RecentSeparator->setSeparator(true);
    InsertAt(FileMenu, FileMenuRecentSeparator, RecentSeparator);
}

void TEditorForm::buildrecentmenu() {
    if (RecentFiles.empty())
        return;
    InsertRecentSeparator();
    const int count = std::min<int>(int(RecentFiles.size()), RecentCount);
    for (int i = 0; i < count; ++i)
        InsertRecentItems(i);
}

void TEditorForm::addrecent(const std::string& fileName) {
    for (const std::string& entry : RecentFiles)
        if (SameFile(entry, fileName))
            return;
    if (RecentFiles.empty())
        InsertRecentSeparator();
    if (RecentFiles.size() >= size_t(RecentCount)) {
        RecentFiles.erase(RecentFiles.begin());
        RecentFiles.push_back(fileName);
        for (int i = 0; i < RecentCount; ++i)
            ShowRecentCaption(i);
        return;
    }
    RecentFiles.push_back(fileName);
    InsertRecentItems(int(RecentFiles.size()) - 1);
}

void TEditorForm::MRUActionExecute(int index) {
    openorshow(MRUActionList[size_t(index)]->data().toString().toStdString());
    enablecontrols(MDIChildCount() > 0);
}

// --- Opening ---

void TEditorForm::openorshow(const std::string& name) {
    const std::string fileName = AbsoluteName(name);
    // Folders, pipes and devices are passed over like missing files.
    if (!IsRegularFile(fileName))
        return;
    for (TMDIChild* child : Children()) {
        if (SameFile(child->document->filename, fileName)) {
            MDIArea->setActiveSubWindow(child);
            return;
        }
    }
    TMDIChild::CreateOpen(*this, fileName);
    addrecent(fileName);
}

void TEditorForm::OpenNames(const std::vector<std::string>& names) {
    for (const std::string& name : names)
        openorshow(name);
}

void TEditorForm::FileNew1Execute() {
    if (NewFileForm->ShowModal() != mrOk)
        return;
    const int32_t rate = StrToInt(NewFileForm->SamplerateBox->currentText().toStdString());
    TMDIChild::CreateNew(*this, rate, NewFileForm->ChannelsBox->currentIndex() + 1);
    enablecontrols(MDIChildCount() > 0);
}

void TEditorForm::FileOpen1Execute() {
    if (OpenDialog == nullptr)
        CreateOpenDialog();
    try {
        OpenNames(RunOpenDialog(*OpenDialog));
    } catch (...) {
        enablecontrols(MDIChildCount() > 0);
        throw;
    }
    enablecontrols(MDIChildCount() > 0);
}

void TEditorForm::CreateOpenDialog() {
    OpenDialog = new QFileDialog(this);
    OpenDialog->setObjectName("OpenDialog");
    OpenDialog->setOption(QFileDialog::DontUseNativeDialog);
    OpenDialog->setFileMode(QFileDialog::ExistingFiles);
    QStringList filters;
    for (const auto& [label, pattern] : OpenFilters)
        filters << QtFilter(label, pattern);
    OpenDialog->setNameFilters(filters);
    OpenDialog->setSizeGripEnabled(true);
}

void TEditorForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TEditorForm::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // The load shows a modal window: open after the drop has returned to its source.
    const std::string name = urls.first().toLocalFile().toStdString();
    QTimer::singleShot(0, this, [this, name] { Guarded([this, name] { WMDropFiles(name); }); });
}

void TEditorForm::WMDropFiles(const std::string& fileName) {
    openorshow(fileName);
    enablecontrols(MDIChildCount() > 0);
}

// --- Showing, resizing, closing ---

void TEditorForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (firstshow)
        QTimer::singleShot(0, this, [this] { FormShow(); });
}

void TEditorForm::FormShow() {
    if (!firstshow)
        return;
    firstshow = false;
    Guarded([this] { OpenNames(CommandLine); });
    enablecontrols(MDIChildCount() > 0);
}

bool TEditorForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == MDIArea->viewport()) {
        if (event->type() == QEvent::Resize)
            FormResize();
        else if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildRemoved)
            ShowBackground();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TEditorForm::FormResize() {
    const QSize area = MDIArea->viewport()->size();
    background->move((area.width() - background->width()) / 2,
                     (area.height() - background->height()) / 2);
}

void TEditorForm::ShowBackground() {
    // A window that is going has already left the list of children.
    const bool empty =
        MDIArea->viewport()->findChildren<QMdiSubWindow*>(Qt::FindDirectChildrenOnly).isEmpty();
    background->setVisible(empty);
}

bool TEditorForm::CloseAllChildren() {
    // Each window comes to the front, so that the user sees which document the question is about.
    for (TMDIChild* child : Children()) {
        MDIArea->setActiveSubWindow(child);
        if (!child->close())
            return false;
    }
    return true;
}

void TEditorForm::closeEvent(QCloseEvent* event) {
    if (!CloseAllChildren()) {
        event->ignore();
        return;
    }
    SaveState();
    event->accept();
}

void TEditorForm::SaveState() {
    StorePlacement();
    SaveSettings();
}

// --- Document actions ---

void TEditorForm::enablecontrols(bool enabled) {
    TActionPairs::ShowOpen(*this, enabled, enabled && AudioClipboard::Assigned());
    Shared->Enable(enabled);
}

TSharedControls& TEditorForm::SharedControls() const {
    return *Shared;
}

TMDIChild* TEditorForm::ActiveChild() const {
    return qobject_cast<TMDIChild*>(MDIArea->activeSubWindow());
}

std::vector<TMDIChild*> TEditorForm::Children() const {
    std::vector<TMDIChild*> children;
    for (QMdiSubWindow* window : MDIArea->subWindowList())
        if (auto* child = qobject_cast<TMDIChild*>(window))
            children.push_back(child);
    return children;
}

int TEditorForm::MDIChildCount() const {
    return int(MDIArea->subWindowList().size());
}

void TEditorForm::ChildActivated(QMdiSubWindow* window) {
    // Qt also reports the same window again after a dialog or a switch between programs.
    if (window == nullptr || window == LastActive)
        return;
    LastActive = window;
    if (auto* child = qobject_cast<TMDIChild*>(window))
        Guarded([child] { child->FormActivate(); });
}

void TEditorForm::Forward(void (TMDIChild::*handler)()) {
    if (TMDIChild* child = ActiveChild())
        (child->*handler)();
}

void TEditorForm::SendKeyToView(int key) {
    if (TMDIChild* child = ActiveChild())
        child->view->KeyDown(key);
}

void TEditorForm::StopAll() {
    for (TMDIChild* child : Children())
        child->StopActionExecute();
    Shared->ShowPlaying(false);
}

void TEditorForm::PlayActionExecute() {
    TMDIChild* child = ActiveChild();
    if (child == nullptr)
        return;
    // Space moves to Stop when the player reports that it plays.
    child->PlayActionExecute();
}

void TEditorForm::StopActionExecute() {
    TMDIChild* child = ActiveChild();
    if (child == nullptr)
        return;
    Shared->ShowPlaying(false);
    child->StopActionExecute();
}

void TEditorForm::MsActionExecute() {
    for (TMDIChild* child : Children())
        child->MsActionExecute();
    if (TMDIChild* child = ActiveChild())
        child->FormActivate();
}

void TEditorForm::SmplActionExecute() {
    for (TMDIChild* child : Children())
        child->SmplActionExecute();
    if (TMDIChild* child = ActiveChild())
        child->FormActivate();
}

void TEditorForm::BeginSelectionActionExecute() {
    PickStartMS->click();
}

void TEditorForm::EndSelectionActionExecute() {
    PickStopMS->click();
}

// --- Help, settings, about ---

void TEditorForm::HelpContentActionExecute() {
    const std::string folder = QCoreApplication::applicationDirPath().toStdString() + "/";
    try {
        ShowHelpTopic(folder + "sondrix.chm", "");
    } catch (const Exception&) {
        // No compiled help or no viewer for it here: the same help as a web page.
        ShowHelpTopic(folder + "sondrix.html", "");
    }
}

void TEditorForm::SettingsActionExecute() {
    if (settingsForm->ShowModal() != mrOk)
        return;
    for (TMDIChild* child : Children()) {
        child->view->Repaint();
        child->view->update();
    }
}

void TEditorForm::HelpAbout1Execute() {
    AboutForm->ShowModal();
}

void TEditorForm::CheckUpdatesActionExecute() {
    AboutForm->UpdateLabelClick();
}

// --- Window menu ---

std::vector<QMdiSubWindow*> TEditorForm::ShownWindows() const {
    std::vector<QMdiSubWindow*> shown;
    for (QMdiSubWindow* window : MDIArea->subWindowList())
        if (!window->isMinimized() && window->isVisible())
            shown.push_back(window);
    return shown;
}

void TEditorForm::TileHorizontally() {
    Tile(true);
}

void TEditorForm::TileVertically() {
    Tile(false);
}

void TEditorForm::Tile(bool stacked) {
    const std::vector<QMdiSubWindow*> shown = ShownWindows();
    const QSize area = MDIArea->viewport()->size();
    const int length = stacked ? area.height() : area.width();
    const int count = int(shown.size());
    for (int i = 0; i < count; ++i) {
        const int from = length * i / count;
        const int to = length * (i + 1) / count;
        QMdiSubWindow* window = shown[size_t(i)];
        window->showNormal();
        window->setGeometry(stacked ? QRect(0, from, area.width(), to - from)
                                    : QRect(from, 0, to - from, area.height()));
        // A share smaller than the window's minimum size: the window overlaps its neighbour
        // rather than the frame's edge.
        KeepInside(*window);
    }
}

void TEditorForm::KeepInside(QMdiSubWindow& window) const {
    const QSize area = MDIArea->viewport()->size();
    const QPoint corner = window.pos();
    window.move(std::max(0, std::min(corner.x(), area.width() - window.width())),
                std::max(0, std::min(corner.y(), area.height() - window.height())));
}

void TEditorForm::Cascade() {
    // The active window, on top of the stack, comes last and stays on top.
    std::vector<QMdiSubWindow*> shown;
    for (QMdiSubWindow* window : MDIArea->subWindowList(QMdiArea::StackingOrder))
        if (!window->isMinimized() && window->isVisible())
            shown.push_back(window);
    if (shown.empty())
        return;
    const QSize area = MDIArea->viewport()->size();
    const int count = int(shown.size());
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, shown.front());
    // Every window gets the same size; when the steps would leave the frame, they start again
    // at its corner.
    const QSize size = (area - QSize(step, step) * (count - 1))
                           .expandedTo(shown.front()->minimumSize())
                           .boundedTo(area);
    const int room = std::min(area.width() - size.width(), area.height() - size.height());
    const int places = std::max(room, 0) / std::max(step, 1) + 1;
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = shown[size_t(i)];
        const int offset = i % places * step;
        window->showNormal();
        window->setGeometry(QRect(QPoint(offset, offset), size));
        window->raise();
    }
}

void TEditorForm::MinimizeAll() {
    for (QMdiSubWindow* window : MDIArea->subWindowList())
        window->showMinimized();
}

void TEditorForm::ArrangeAll() {
    // The minimised windows line up along the bottom of the frame, in rows from the bottom up.
    const int width = MDIArea->viewport()->width();
    int bottom = MDIArea->viewport()->height();
    int left = 0;
    int rowHeight = 0;
    for (QMdiSubWindow* window : MDIArea->subWindowList()) {
        if (!window->isMinimized())
            continue;
        if (left > 0 && left + window->width() > width) {
            bottom -= rowHeight;
            left = 0;
            rowHeight = 0;
        }
        window->move(left, bottom - window->height());
        left += window->width();
        rowHeight = std::max(rowHeight, window->height());
    }
}
