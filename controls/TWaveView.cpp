#include "TWaveView.h"

#include "AppServices.h"
#include "Guarded.h"
#include "MessageDlg.h"
#include "TSaveOperations.h"
#include "TScrollBar.h"
#include "Twavefile.h"
#include "ViewMath.h"

#include <QPaintEvent>
#include <QPainter>

TWaveView::TWaveView(QWidget* owner)
    : QWidget(owner)
    , SaveDocument(TSaveOperations::savefile)
    , player(std::make_unique<TPlayer>()) {
    player->OnPlayProcess = [this](int32_t bytes) { PlayerPositionChanged(bytes); };
    player->OnPlayStatus = [this](bool action) { PlayerStatusChanged(action); };
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    resize(698, 250);
    for (TBitmap32* layer : {&baselayer, &sellayer, &finallayer})
        layer->SetSize(698, 250);
    wavewidth = width();
    waveheight = height() - RulerHeight;
    layerwidth = width();
    layerheight = height();
}

TWaveView::~TWaveView() {
    // The player's last stop must not call back into a view that is going away.
    player->OnPlayStatus = nullptr;
    player->OnPlayProcess = nullptr;
    player.reset();
    if (document != nullptr) {
        document->playing = false;
        if (document->view == this)
            document->setview(nullptr);
    }
}

bool TWaveView::DocumentReady() const {
    return document != nullptr && document->ready;
}

uint32_t TWaveView::DocumentFrames() const {
    return document != nullptr ? document->frames.load() : 0;
}

double TWaveView::ScaleDivisor(int32_t channelCount) const {
    return 32768.0 / height() * 3.0 * channelCount;
}

void TWaveView::FireCursor() {
    if (OnCursor)
        OnCursor(*this, cursor, cursorms);
}

void TWaveView::FireSelect(uint32_t start, uint32_t stop, bool isSelected) {
    if (!OnSelect)
        return;
    if (isSelected)
        OnSelect(*this, start, stop, FramesToMs(start), FramesToMs(stop), true);
    else
        OnSelect(*this, 0, 0, 0, 0, false);
}

// --- Document, cursor and selection ---

void TWaveView::Bind(Twavefile* newDocument, TScrollBar* bar) {
    document = newDocument;
    scrollbar = bar;
}

void TWaveView::SetDocument(Twavefile* newDocument) {
    document = newDocument;
    selected = false;
    const uint32_t frames = DocumentFrames();
    viewstart = 0;
    viewend = visible = frames;
    if (scrollbar != nullptr) {
        if (frames == 0)
            scrollbar->SetPageSize(0);
        scrollbar->SetPosition(0);
        scrollbar->SetMin(0);
        scrollbar->SetMax(int32_t(frames));
        scrollbar->SetPageSize(int32_t(frames));
    }
    selectionstart = selectionstop = 0;
    cursor = 0;
    cursorms = 0;
    FireCursor();
    Repaint();
}

// --- Removing a range ---

int32_t TWaveView::PageSize() const {
    return scrollbar != nullptr ? scrollbar->PageSize() : 0;
}

void TWaveView::SetPage(int32_t pageSize) {
    if (scrollbar != nullptr)
        scrollbar->SetPageSize(pageSize);
}

TWaveView::TSpan TWaveView::Span() const {
    return {PageSize(), viewstart, visible, viewend, selected};
}

void TWaveView::RestoreSpan(const TSpan& span) {
    SetPage(span.PageSize);
    viewstart = span.ViewStart;
    visible = span.Visible;
    viewend = span.ViewEnd;
    selected = span.Selected;
}

bool TWaveView::RemoveRange(int64_t first, int64_t frames) {
    const uint32_t total = DocumentFrames();
    if (first < 0 || frames < 0 || first + frames > int64_t(total))
        return false;
    const auto length = uint32_t(frames);
    const uint32_t remaining = total - length;
    const bool inside =
        uint64_t(first) >= viewstart && uint64_t(first + frames) <= viewend && length < visible;
    // The page goes first: a page that moves the bar scrolls the view over its old span.
    if (inside) {
        SetPage(std::max<int32_t>(PageSize() - int32_t(length), 0));
        visible -= length;
        viewend -= length;
    } else {
        SetPage(int32_t(remaining));
        viewstart = 0;
        visible = viewend = remaining;
    }
    return true;
}

void TWaveView::DropSelectionMark() {
    selected = false;
}

void TWaveView::SetTimeRuler(bool time) {
    timeruler = time;
}

bool TWaveView::TakeCloseAfterSave() {
    const bool pending = closeaftersave;
    closeaftersave = false;
    return pending;
}

void TWaveView::SetCursorFrame(uint32_t frame) {
    cursor = frame;
    cursorms = FramesToMs(frame);
    MoveCursorLine();
    FireCursor();
}

void TWaveView::SetSelectionFrames(uint32_t start, uint32_t stop, bool isSelected) {
    selectionstart = start;
    selectionstop = std::min(stop, DocumentFrames());
    // A typed start past the stop would make an inverted range: it becomes empty at the stop.
    selectionstart = std::min(selectionstart, selectionstop);
    selected = isSelected;
    Redraw();
}

void TWaveView::SetSelectionMs(int64_t startms, int64_t stopms, bool isSelected) {
    SetSelectionFrames(RoundFrame(double(MsToFrames(startms))),
                       RoundFrame(double(MsToFrames(stopms))), isSelected);
}

int64_t TWaveView::MsToFrames(int64_t ms) const {
    const int32_t rate = document != nullptr ? document->samplerate : 0;
    return int64_t(std::nearbyint(ms / 1000.0 * rate));
}

int64_t TWaveView::FramesToMs(uint32_t frameCount) const {
    const int32_t rate = document != nullptr ? document->samplerate : 0;
    if (rate <= 0)
        return 0;
    return int64_t(std::nearbyint(frameCount / double(rate) * 1000.0));
}

// --- Playback and closing ---

void TWaveView::StartPlayback() {
    if (!DocumentReady())
        return;
    document->playing = true;
    const uint32_t channels = document->channels;
    WAVEFORMATEX format{};
    FillPCMFormat(uint32_t(document->samplerate), channels, 16, format);
    uint32_t length;
    if (selected) {
        // An undo may have made the document shorter than the selection.
        playstart = std::min(selectionstart, DocumentFrames());
        length = std::min(selectionstop, DocumentFrames()) - playstart;
    } else {
        playstart = cursor;
        length = DocumentFrames() - std::min(cursor, DocumentFrames());
    }
    try {
        player->Prepare(*document, channels * playstart, 2 * channels * length, format, false);
        player->Play();
    } catch (...) {
        // Nothing plays: operations must not wait for this playback.
        if (!player->IsPlaying())
            document->playing = false;
        throw;
    }
}

void TWaveView::StopPlayback() {
    player->Close();
    playstart = 0;
}

void TWaveView::PollPlayerLevels(std::span<int16_t> levels) {
    player->GetLevels(levels);
}

void TWaveView::PlayerStatusChanged(bool action) {
    if (OnPlayStatus)
        OnPlayStatus(action);
    if (document != nullptr)
        document->playing = action;
}

void TWaveView::PlayerPositionChanged(int32_t bytesPlayed) {
    const uint32_t channels = document != nullptr ? document->channels : 0;
    if (channels == 0)
        return;
    SetCursorFrame(uint32_t(bytesPlayed) / (2 * channels) + playstart);
}

bool TWaveView::CanCloseDocument() {
    closeaftersave = false;
    if (!DocumentReady())
        return true;
    player->Close();
    bool result = true;
    if (document->modified) {
        const int answer = MessageDlg("Would you like to save changes?",
                                      TMsgDlgType::mtConfirmation, mbYes | mbNo | mbCancel);
        if (answer == mrYes) {
            // The save runs to its end inside the request and the owner looks for the flag when
            // it ends, so the flag goes up first; a save that did not begin takes it down again.
            closeaftersave = true;
            if (!SaveDocument || !SaveDocument(*document))
                closeaftersave = false;
            result = false;
        } else {
            result = answer == mrNo;
        }
    }
    if (result) {
        selected = false;
        document->closefile();
        Repaint();
    }
    return result;
}

// --- Platform events ---

void TWaveView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, finallayer.Image, 0, 0, layerwidth, layerheight);
}

void TWaveView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Guarded([this] {
        if (OnResize)
            OnResize(*this);
        Repaint();
    });
}
