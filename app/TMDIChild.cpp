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
#include "TPngImageList.h"
#include "TPositionText.h"
#include "TScrollBar.h"
#include "TSharedControls.h"
#include "TStatusPanel.h"
#include "TVUMeter.h"
#include "TWaveView.h"
#include "TimeOfDay.h"
#include "Twavefile.h"
#include "ViewColors.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QFrame>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <span>

namespace {

/// The client area of a new document window.
constexpr QSize DefaultClientSize(700, 430);

std::string BaseName(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    return slash == std::string::npos ? fileName : fileName.substr(slash + 1);
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
    : Main(owner) {
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
    const QSize area = Main.FrameSize();
    // About its size before it joins, so that the frame finds it a place.
    resize(DefaultClientSize.boundedTo(area));
    Main.AddDocumentWindow(*this);
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
    // Like the main window's, the actions that follow a document start disabled.
    TActionPairs::SwitchOffFollowing(this, nullptr);
    CreateComponents();
    document = std::make_unique<Twavefile>();
    BindDocument();
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
    view->Bind(document.get(), Scroll);
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
