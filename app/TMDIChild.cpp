#include "TMDIChild.h"

#include "AppServices.h"
#include "ApplicationTitle.h"
#include "AudioClipboard.h"
#include "Guarded.h"
#include "LevelText.h"
#include "MessageDlg.h"
#include "Settings.h"
#include "TActionPairs.h"
#include "TEditorForm.h"
#include "TMaskEdit.h"
#include "TPngImageList.h"
#include "TPositionText.h"
#include "TPropertiesForm.h"
#include "TSaveOperations.h"
#include "TScrollBar.h"
#include "TSharedControls.h"
#include "TStatusPanel.h"
#include "TVUMeter.h"
#include "TWaveView.h"
#include "TamplifyForm.h"
#include "Tfnormalize.h"
#include "TimeOfDay.h"
#include "Tsilence.h"
#include "Twavefile.h"
#include "ViewColors.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <filesystem>
#include <span>

namespace {

/// The client area of a new document window.
constexpr QSize DefaultClientSize(700, 430);

std::string BaseName(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
}

/// The extension of the file's own name, from its last ".", or "".
std::string Extension(const std::string& fileName) {
    const std::string name = BaseName(fileName);
    const size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
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

std::string RunDialog(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first().toStdString();
}

int SelectedFilterIndex(const QFileDialog& dialog) {
    return int(dialog.nameFilters().indexOf(dialog.selectedNameFilter())) + 1;
}

} // namespace

// --- Creation ---

TMDIChild* TMDIChild::CreateOpen(TEditorForm& owner, const std::string& fileName) {
    auto* child = new TMDIChild(owner);
    child->openfile(fileName);
    return child;
}

TMDIChild* TMDIChild::CreateNew(TEditorForm& owner, int32_t sampleRate, int32_t channels) {
    auto* child = new TMDIChild(owner);
    child->createaudiofile("untitled.tmp", sampleRate, channels, 16);
    return child;
}

TMDIChild::TMDIChild(TEditorForm& owner)
    : Main(owner)
    , RunSaveDialog(RunDialog) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(TPngImageList::DocumentIcon());
    setMinimumSize(360, 180);
    FormCreate();
    // The window is in the frame and visible before its document starts to load: the load's
    // events fire at once and may close it.
    JoinFrame();
    show();
}

void TMDIChild::JoinFrame() {
    const QSize area = Main.MDIArea->viewport()->size();
    // About its size before it joins, so that the frame finds it a place.
    resize(DefaultClientSize.boundedTo(area));
    Main.MDIArea->addSubWindow(this);
    // Joining a frame whose active window is maximised maximises the window at once. Its size is
    // set in the normal state, which it returns to when restored, never while marked maximised.
    const bool maximised = isMaximized();
    setWindowState(windowState() & ~Qt::WindowMaximized);
    const QMargins frame = contentsMargins();
    const QSize wanted =
        DefaultClientSize + QSize(frame.left() + frame.right(), frame.top() + frame.bottom());
    resize(wanted.boundedTo(area).expandedTo(minimumSize()));
    move(std::max(0, std::min(x(), area.width() - width())),
         std::max(0, std::min(y(), area.height() - height())));
    if (maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

TMDIChild::~TMDIChild() {
    ProgressTimer->stop();
    delete view; // stops and frees its player
    view = nullptr;
    document.reset();
}

void TMDIChild::FormCreate() {
    CreateActions();
    CreateComponents();
    document = std::make_unique<Twavefile>();
    BindDocument();
    UndoAction->setEnabled(false);
    RedoAction->setEnabled(false);
    StopAction->setEnabled(false);
    ViewBackColor = Settings.backcolor;
    ViewWaveColor = Settings.wavecolor;
    ViewScaleColor = Settings.scalecolor;
    CreateView();
    document->setview(view);
    view->SetTimeRuler(Settings.selectiontype == 0);
}

void TMDIChild::BindDocument() {
    document->OnReady = [this](Twavefile&, bool) { Guarded([this] { onReady(); }); };
    document->OnAction = [this](Twavefile&, bool canUndo, bool canRedo) {
        Guarded([=, this] { OnAction(canUndo, canRedo); });
    };
    document->OnLoaded = [this](Twavefile&, bool success) {
        OperationFailed = !success;
        Guarded([this] { onLoaded(); });
    };
}

void TMDIChild::CreateView() {
    view = new TWaveView(Panel1);
    view->setObjectName("view");
    Panel1->layout()->addWidget(view);
    view->document = document.get();
    view->scrollbar = Scroll;
    view->OnCursor = [this](TWaveView&, uint32_t position, int64_t positions) {
        onCursor(position, positions);
    };
    view->OnSelect = [this](TWaveView&, uint32_t start, uint32_t stop, int64_t startms,
                            int64_t stopms,
                            bool selected) { onSelect(start, stop, startms, stopms, selected); };
    view->OnPlayStatus = [this](bool action) { playprocess(action); };
    view->SaveDocument = [this](Twavefile&) { return SaveDocumentNow(); };
    view->installEventFilter(this);
    view->Repaint();
    view->setFocus();
}

QAction* TMDIChild::MakeAction(const char* name, const char* caption, void (TMDIChild::*handler)(),
                               int image) {
    auto* action = new QAction(QString::fromLatin1(caption), this);
    action->setObjectName(name);
    if (image >= 0)
        action->setIcon(TPngImageList::Child(image));
    if (handler != nullptr)
        connect(action, &QAction::triggered, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    return action;
}

void TMDIChild::CreateActions() {
    SaveAction = MakeAction("SaveAction", "Save", &TMDIChild::SaveActionExecute, ciSave);
    SaveAsAction =
        MakeAction("SaveAsAction", "Save As...", &TMDIChild::SaveAsActionExecute, ciSaveAs);
    SaveSelectedAction = MakeAction("SaveSelectedAction", "Save Selected As...          ",
                                    &TMDIChild::SaveSelectedActionExecute, ciSaveSelected);
    PropertiesAction = MakeAction("PropertiesAction", "File Properties...",
                                  &TMDIChild::PropertiesActionExecute, ciProperties);
    ZoomInAction = MakeAction("ZoomInAction", "Zoom In", &TMDIChild::ZoomInActionExecute, ciZoomIn);
    ZoomOutAction =
        MakeAction("ZoomOutAction", "Zoom Out", &TMDIChild::ZoomOutActionExecute, ciZoomOut);
    ZoomFullAction =
        MakeAction("ZoomFullAction", "Zoom Full", &TMDIChild::ZoomFullActionExecute, ciZoomFull);
    UndoAction = MakeAction("UndoAction", "Undo", &TMDIChild::UndoActionExecute, ciUndo);
    RedoAction = MakeAction("RedoAction", "Redo", &TMDIChild::RedoActionExecute, ciRedo);
    CutAction = MakeAction("CutAction", "Cut", &TMDIChild::CutActionExecute, ciCut);
    CopyAction = MakeAction("CopyAction", "Copy", &TMDIChild::CopyActionExecute, ciCopy);
    PasteAction = MakeAction("PasteAction", "Paste", &TMDIChild::PasteActionExecute, ciPaste);
    DeleteAction = MakeAction("DeleteAction", "Delete", &TMDIChild::DeleteActionExecute, ciDelete);
    SelectAllAction = MakeAction("SelectAllAction", "Select All",
                                 &TMDIChild::SelectAllActionExecute, ciSelectAll);
    DeselectAllAction = MakeAction("DeselectAllAction", "Deselect All",
                                   &TMDIChild::DeselectAllActionExecute, ciDeselect);
    PlayAction = MakeAction("PlayAction", "Play", &TMDIChild::PlayActionExecute, ciPlay);
    StopAction = MakeAction("StopAction", "Stop", &TMDIChild::StopActionExecute, ciStop);
    FadeInAction = MakeAction("FadeInAction", "Fade In", &TMDIChild::FadeInActionExecute, ciFadeIn);
    FadeOutAction =
        MakeAction("FadeOutAction", "Fade Out", &TMDIChild::FadeOutActionExecute, ciFadeOut);
    SilenceAction = MakeAction("SilenceAction", "Insert Silence...",
                               &TMDIChild::SilenceActionExecute, ciSilence);
    NormalizationAction = MakeAction("NormalizationAction", "Normalization...",
                                     &TMDIChild::NormalizationActionExecute, ciNormalize);
    ReverseAction =
        MakeAction("ReverseAction", "Reverse", &TMDIChild::ReverseActionExecute, ciReverse);
    InvertAction = MakeAction("InvertAction", "Invert", &TMDIChild::InvertActionExecute, ciInvert);
    AmplifyIAction = MakeAction("AmplifyIAction", "Amplify (Increase)...",
                                &TMDIChild::AmplifyIActionExecute, ciAmplifyI);
    AmplifyDAction = MakeAction("AmplifyDAction", "Amplify (Decrease)...",
                                &TMDIChild::AmplifyDActionExecute, ciAmplifyD);
    MsAction = MakeAction("MsAction", "Milliseconds", &TMDIChild::MsActionExecute);
    SmplAction = MakeAction("SmplAction", "Samples", &TMDIChild::SmplActionExecute);
    SettingsAction = MakeAction("SettingsAction", "Settings...", nullptr, ciSettings);
    ScaleFormatAction = MakeAction("ScaleFormatAction", "Scale Format", nullptr);
    ConvertAction = MakeAction("ConvertAction", "Convert", nullptr);
    for (QAction* action : {MsAction, SmplAction})
        action->setCheckable(true);
    auto* scale = new QActionGroup(this);
    scale->addAction(MsAction);
    scale->addAction(SmplAction);
    // Like the main window's, the actions that need a selection start disabled.
    applyselection(false);
    // The main window's actions carry the shared keys; this window's own keys work while it has
    // the focus.
    PlayAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    StopAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    for (QAction* action : {PlayAction, StopAction}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(action);
    }
}

void TMDIChild::CreateComponents() {
    Client = new QWidget(this);
    Client->setObjectName("Client");
    auto* layout = new QVBoxLayout(Client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Panel1 = new QFrame(Client);
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(Panel1, 1);
    Scroll = new TScrollBar(Client);
    Scroll->setObjectName("Scroll");
    Scroll->setFixedHeight(14);
    Scroll->setEnabled(false);
    Scroll->SetPageSize(1);
    Scroll->setFocusPolicy(Qt::NoFocus);
    connect(Scroll, &QScrollBar::valueChanged, this,
            [this] { Guarded([this] { ScrollChange(); }); });
    layout->addWidget(Scroll);
    StatusBar = new QStatusBar(Client);
    StatusBar->setObjectName("StatusBar");
    StatusBar->setSizeGripEnabled(false);
    // Each panel is as wide as its text; the last, never written, takes the rest of the bar.
    for (size_t i = 0; i < Panels.size(); ++i) {
        Panels[i] = new TStatusPanel(StatusBar);
        StatusBar->addWidget(Panels[i], i + 1 == Panels.size() ? 1 : 0);
    }
    layout->addWidget(StatusBar);
    setWidget(Client);
    CreateTimers();
    CreateSaveDialog();
    CreatePopupMenu();
}

void TMDIChild::CreateTimers() {
    ProgressTimer = new QTimer(this);
    ProgressTimer->setObjectName("ProgressTimer");
    ProgressTimer->setInterval(50);
    connect(ProgressTimer, &QTimer::timeout, this,
            [this] { Guarded([this] { ProgressTimerTimer(); }); });
    ProgressTimer->start();
    VizTimer = new QTimer(this);
    VizTimer->setObjectName("VizTimer");
    VizTimer->setInterval(10);
    connect(VizTimer, &QTimer::timeout, this, [this] { Guarded([this] { VizTimerTimer(); }); });
}

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

void TMDIChild::CreatePopupMenu() {
    PopupActionBar1 = new QMenu(this);
    PopupActionBar1->setObjectName("PopupActionBar1");
    PopupActionBar1->addActions({CutAction, CopyAction, PasteAction, DeleteAction});
    PopupActionBar1->addSeparator();
    // The selection's own save shows no image in the menu.
    QAction* saveSelected = PopupActionBar1->addAction(SaveSelectedAction->text());
    connect(saveSelected, &QAction::triggered, SaveSelectedAction, &QAction::trigger);
    connect(SaveSelectedAction, &QAction::changed, saveSelected,
            [saveSelected, this] { saveSelected->setEnabled(SaveSelectedAction->isEnabled()); });
    saveSelected->setEnabled(SaveSelectedAction->isEnabled());
}

// --- Routines ---

bool TMDIChild::DocumentReady() const {
    return document != nullptr && document->ready;
}

void TMDIChild::ResetSelectionEdits() {
    Main.SharedControls().ResetSelection();
}

void TMDIChild::ResetScroll() {
    Scroll->SetPageSize(0);
    Scroll->SetPosition(0);
    Scroll->SetMin(0);
    Scroll->SetMax(100);
}

void TMDIChild::openfile(const std::string& fileName) {
    ResetSelectionEdits();
    if (DocumentReady())
        StopActionExecute();
    if (fileName == document->filename) {
        ShowMessage("This file already loaded");
        return;
    }
    if (!view->CanCloseDocument())
        return;
    ResetScroll();
    updatecaption(fileName);
    document->loadfile(fileName);
}

void TMDIChild::createaudiofile(const std::string& name, int32_t sampleRate, int32_t channels,
                                int32_t) {
    ResetSelectionEdits();
    ResetScroll();
    updatecaption(name);
    document->createnew(name, sampleRate, channels, 16);
}

void TMDIChild::updatecaption(const std::string& fileName) {
    const std::string name = BaseName(fileName);
    const std::string prefix = fileName.empty() ? std::string() : name + " - ";
    Main.setWindowTitle(QString::fromStdString(prefix + ApplicationTitle));
    setWindowTitle(QString::fromStdString(name));
}

void TMDIChild::applyselection(bool enabled) {
    TActionPairs::Enable(this, nullptr, TActionRole::Selection, enabled);
}

void TMDIChild::applyselectionmain(bool enabled) {
    TActionPairs::Enable(nullptr, &Main, TActionRole::Selection, enabled);
}

// --- Events of the document and the view ---

void TMDIChild::onReady() {
    const uint32_t frames = document->frames;
    if (int64_t(frames) < Scroll->PageSize())
        Scroll->SetPageSize(int32_t(frames));
    Scroll->SetMax(int32_t(frames));
    view->Repaint();
    Panels[0]->setText(QString::fromStdString(" Format: " + std::to_string(document->samplerate) +
                                              " Hz, " + std::to_string(document->channels) +
                                              " Ch."));
    Panels[2]->setText(QString::fromStdString("Max. Amplitude: " + LevelText(document->leveldb)));
    Panels[3]->setText(QString::fromStdString("Duration: " + TimeOfDay(document->duration)));
    TActionPairs::Enable(this, &Main, TActionRole::Paste, AudioClipboard::Assigned());
    if (view->closeaftersave)
        QueueCloseAfterSave();
}

void TMDIChild::QueueCloseAfterSave() {
    // Never inside the operation's end: closing frees the document that is ending its operation.
    QTimer::singleShot(0, this, [this] {
        // Inside the close question the question itself decides, once the save has returned.
        if (Closing || !view->TakeCloseAfterSave())
            return;
        if (!document->modified)
            close();
    });
}

void TMDIChild::OnAction(bool canUndo, bool canRedo) {
    TActionPairs::Enable(this, &Main, TActionRole::Undo, canUndo);
    TActionPairs::Enable(this, &Main, TActionRole::Redo, canRedo);
}

void TMDIChild::onLoaded() {
    if (document->loadfailed) {
        QTimer::singleShot(0, this, [this] { close(); });
        return;
    }
    view->SetDocument(document.get());
}

void TMDIChild::ShowCursorPanel() {
    const std::string position =
        TPositionText::TimeMode() ? MsToStr(view->cursorms) : std::to_string(view->cursor);
    Panels[1]->setText(QString::fromStdString("Cursor Position: " + position));
}

void TMDIChild::onCursor(uint32_t, int64_t positions) {
    ShowCursorPanel();
    Main.SharedControls().ShowCursor(positions);
}

void TMDIChild::onSelect(uint32_t start, uint32_t stop, int64_t startms, int64_t stopms,
                         bool selected) {
    TSharedControls& shared = Main.SharedControls();
    if (selected) {
        const bool time = TPositionText::TimeMode();
        shared.ShowSelection(time ? MsToStr(startms) : std::to_string(start),
                             time ? MsToStr(stopms) : std::to_string(stop));
    }
    applyselection(selected);
    applyselectionmain(selected);
    shared.ShowSelected(selected);
}

void TMDIChild::playprocess(bool action) {
    playing = action;
    if (action)
        VizTimer->start();
    else
        VizTimer->stop();
    SetPlayState(playing);
    if (!action)
        Main.SharedControls().ResetMeter();
    Main.SharedControls().ShowPlaying(action);
}

void TMDIChild::SetPlayState(bool isPlaying) {
    TActionPairs::Enable(this, &Main, TActionRole::Play, !isPlaying);
    TActionPairs::Enable(this, &Main, TActionRole::Stop, isPlaying);
}

// --- The main window's shared controls ---

void TMDIChild::TypedSelection(uint32_t& start, uint32_t& stop) const {
    const uint32_t frames = document->frames;
    start = TPositionText::ToFrame(*view, Main.SharedControls().StartText(), frames);
    stop = TPositionText::ToFrame(*view, Main.SharedControls().StopText(), frames);
    if (start > stop)
        std::swap(start, stop);
}

void TMDIChild::selClick() {
    if (!DocumentReady() || document->frames == 0)
        return;
    TSharedControls& shared = Main.SharedControls();
    uint32_t start = 0;
    uint32_t stop = 0;
    try {
        TypedSelection(start, stop);
    } catch (...) {
        shared.ShowSelected(view->selected);
        throw;
    }
    const bool selected = shared.Selected();
    shared.ShowSelection(TPositionText::FromFrame(*view, start),
                         TPositionText::FromFrame(*view, stop));
    view->SetSelectionFrames(start, stop, selected);
    applyselection(selected);
    applyselectionmain(selected);
}

void TMDIChild::PickStartSClick() {
    Main.SharedControls().ShowStart(TPositionText::FromFrame(*view, view->cursor));
}

void TMDIChild::PickStopSClick() {
    Main.SharedControls().ShowStop(TPositionText::FromFrame(*view, view->cursor));
}

void TMDIChild::ShowSelectionEdits() {
    Main.SharedControls().ShowSelection(TPositionText::FromFrame(*view, view->selectionstart),
                                        TPositionText::FromFrame(*view, view->selectionstop));
}

void TMDIChild::WireSharedControls() {
    SharedConnections =
        Main.SharedControls().Wire(*this, {[this] { selClick(); }, [this] { PickStartSClick(); },
                                           [this] { PickStopSClick(); }});
}

void TMDIChild::DetachSharedControls() {
    TSharedControls::Detach(SharedConnections);
}

// --- Form events ---

void TMDIChild::FormActivate() {
    for (TMDIChild* child : Main.Children())
        child->DetachSharedControls();
    Main.StopAll();
    TActionPairs::ShowActive(*this, Main);
    updatecaption(windowTitle().toStdString());
    Main.SharedControls().ShowCursor(view->cursorms);
    Main.SharedControls().ShowSelected(view->selected);
    WireSharedControls();
    if (DocumentReady())
        ShowSelectionEdits();
}

bool TMDIChild::FormCloseQuery() {
    if (document->busy || document->progress != 0) {
        MessageDlg("Please wait. Operation in progress...", TMsgDlgType::mtConfirmation, mbOK);
        return false;
    }
    Closing = true;
    const bool mayClose = view->CanCloseDocument();
    Closing = false;
    if (mayClose)
        return true;
    // A Yes to the close question has saved already: the window may go when the save succeeded.
    if (!view->TakeCloseAfterSave())
        return false;
    if (document->modified)
        return false;
    view->CanCloseDocument();
    return true;
}

void TMDIChild::FormClose() {
    DetachSharedControls();
    Main.enablecontrols(Main.MDIChildCount() > 1);
    updatecaption("");
}

void TMDIChild::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    Guarded([&] { mayClose = FormCloseQuery(); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    Guarded([this] { FormClose(); });
    QMdiSubWindow::closeEvent(event);
}

bool TMDIChild::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view && event->type() == QEvent::Wheel) {
        WheelTurned(static_cast<QWheelEvent*>(event)->angleDelta().y());
        return true;
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void TMDIChild::WheelTurned(int delta) {
    // A touchpad sends many small steps: one zoom per notch of 120.
    WheelDelta += delta;
    while (WheelDelta >= 120) {
        WheelDelta -= 120;
        FormMouseWheelUp();
    }
    while (WheelDelta <= -120) {
        WheelDelta += 120;
        FormMouseWheelDown();
    }
}

void TMDIChild::contextMenuEvent(QContextMenuEvent* event) {
    if (!Panel1->geometry().contains(Client->mapFrom(this, event->pos()))) {
        QMdiSubWindow::contextMenuEvent(event);
        return;
    }
    PopupActionBar1->exec(event->globalPos());
}

void TMDIChild::FormMouseWheelDown() {
    ZoomOutAction->trigger();
}

void TMDIChild::FormMouseWheelUp() {
    ZoomInAction->trigger();
}

void TMDIChild::ScrollChange() {
    view->ScrollToBar();
}

void TMDIChild::ProgressTimerTimer() {
    Scroll->setEnabled(int64_t(document->frames) - 100 >= Scroll->PageSize());
}

void TMDIChild::VizTimerTimer() {
    TVUMeter::TLevels levels{};
    view->PollPlayerLevels(std::span<int16_t>(levels.data(), levels.size()));
    Main.SharedControls().ShowLevels(levels, uint8_t(document->channels));
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

// --- Edits ---

void TMDIChild::ZoomInActionExecute() {
    view->ZoomIn();
}

void TMDIChild::ZoomOutActionExecute() {
    view->ZoomOut();
}

void TMDIChild::ZoomFullActionExecute() {
    view->ZoomFull();
}

void TMDIChild::UndoActionExecute() {
    document->undo();
    if (int64_t(document->frames) < Scroll->PageSize())
        Scroll->SetPageSize(int32_t(document->frames));
}

void TMDIChild::RedoActionExecute() {
    document->redo();
    if (int64_t(document->frames) < Scroll->PageSize())
        Scroll->SetPageSize(int32_t(document->frames));
}

void TMDIChild::CutActionExecute() {
    if (!view->selected)
        return;
    const uint32_t start = view->selectionstart;
    const uint32_t stop = view->selectionstop;
    const TWaveView::TSpan before = view->Span();
    view->RemoveRange(start, stop - start);
    view->DropSelectionMark();
    if (!document->cut(start, stop))
        view->RestoreSpan(before);
}

void TMDIChild::DeleteActionExecute() {
    if (!view->selected)
        return;
    const uint32_t start = view->selectionstart;
    const uint32_t stop = view->selectionstop;
    const TWaveView::TSpan before = view->Span();
    const uint32_t cursor = view->cursor;
    view->RemoveRange(start, stop - start);
    view->SetCursorFrame(start);
    view->DropSelectionMark();
    if (!document->deleterange(start, stop)) {
        view->RestoreSpan(before);
        view->SetCursorFrame(cursor);
    }
}

void TMDIChild::CopyActionExecute() {
    if (view->selected)
        document->copy(view->selectionstart, view->selectionstop);
}

void TMDIChild::PasteActionExecute() {
    if (DocumentReady())
        document->paste(view->cursor);
}

void TMDIChild::SelectAllActionExecute() {
    if (!DocumentReady() || document->frames == 0)
        return;
    TSharedControls& shared = Main.SharedControls();
    shared.ShowSelection(TPositionText::FromFrame(*view, 0),
                         TPositionText::FromFrame(*view, document->frames));
    shared.CheckSelected(true);
    view->SetSelectionFrames(0, document->frames, shared.Selected());
}

void TMDIChild::DeselectAllActionExecute() {
    Main.SharedControls().CheckSelected(false);
    selClick();
}

void TMDIChild::PlayActionExecute() {
    if (!DocumentReady())
        return;
    // Play and Stop follow the player's own reports: a playback that ends at once leaves Play on.
    view->StartPlayback();
    Main.SharedControls().ResetMeter();
}

void TMDIChild::StopActionExecute() {
    if (!VizTimer->isActive())
        return;
    view->StopPlayback();
    SetPlayState(false);
    Main.SharedControls().ClearMeter(uint8_t(document->channels));
}

void TMDIChild::FadeInActionExecute() {
    if (view->selected)
        document->fadein(view->selectionstart, view->selectionstop);
}

void TMDIChild::FadeOutActionExecute() {
    if (view->selected)
        document->fadeout(view->selectionstart, view->selectionstop);
}

void TMDIChild::SilenceActionExecute() {
    if (!DocumentReady() || silence->ShowModal() != mrOk)
        return;
    const int64_t frames = view->MsToFrames(silence->pausems->Value());
    if (frames > 0)
        document->insertsilence(view->cursor, frames);
}

void TMDIChild::NormalizationActionExecute() {
    if (DocumentReady() && fnormalize->ShowModal() == mrOk)
        document->normalize(fnormalize->SpinEdit->Value());
}

void TMDIChild::AmplifyIActionExecute() {
    Amplify(101);
}

void TMDIChild::AmplifyDActionExecute() {
    Amplify(10);
}

void TMDIChild::Amplify(int32_t preset) {
    if (!DocumentReady())
        return;
    amplifyForm->SpinEdit->SetValue(preset);
    if (amplifyForm->ShowModal() == mrOk)
        document->amplify(amplifyForm->SpinEdit->Value());
}

void TMDIChild::ReverseActionExecute() {
    if (DocumentReady())
        document->reverse();
}

void TMDIChild::InvertActionExecute() {
    if (DocumentReady())
        document->invert();
}

// --- Scale format ---

void TMDIChild::MsActionExecute() {
    SetScale(0);
}

void TMDIChild::SmplActionExecute() {
    SetScale(1);
}

void TMDIChild::SetScale(int32_t selectiontype) {
    Settings.selectiontype = selectiontype;
    Main.SharedControls().ApplyScale();
    if (DocumentReady())
        ShowSelectionEdits();
    else
        ResetSelectionEdits();
    ShowCursorPanel();
    view->SetTimeRuler(selectiontype == 0);
    view->Repaint();
}
