#include "TEditorForm.h"

#include "ApplicationTitle.h"
#include "AudioClipboard.h"
#include "Exceptions.h"
#include "FileDialogs.h"
#include "Guarded.h"
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
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
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

QString QtFilter(const char* label, const char* pattern) {
    QStringList patterns;
    for (const QString& p : QString::fromLatin1(pattern).split(';', Qt::SkipEmptyParts))
        patterns << p << p.toUpper();
    return QString::fromLatin1(label) + " (" + patterns.join(' ') + ")";
}

void InsertAt(QMenu* menu, int position, QAction* action) {
    menu->insertAction(menu->actions().value(position), action);
}

} // namespace

TEditorForm::TEditorForm(QWidget* parent)
    : QMainWindow(parent) {
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

QSize TEditorForm::FrameSize() const {
    return MDIArea->viewport()->size();
}

void TEditorForm::AddDocumentWindow(QMdiSubWindow& window) {
    MDIArea->addSubWindow(&window);
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
