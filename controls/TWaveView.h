#pragma once

#include "IDocumentView.h"
#include "TBitmap32.h"
#include "TColor.h"
#include "TPlayer.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class TScrollBar;
class TWaveView;
class Twavefile;

/// The cursor moved: `position` is its frame, `positions` its milliseconds.
using TCursorEvent = std::function<void(TWaveView& sender, uint32_t position, int64_t positions)>;
/// The selection changed: frames `start` … `stop` − 1, the same in milliseconds, and whether a
/// selection is shown. A cleared selection is reported as 0, 0, 0, 0, false.
using TSelectEvent = std::function<void(TWaveView& sender, uint32_t start, uint32_t stop,
                                        int64_t startms, int64_t stopms, bool selected)>;
using TNotifyEvent = std::function<void(TWaveView& sender)>;
using TKeyEvent = std::function<void(TWaveView& sender, int32_t key)>;
using TMouseEvent =
    std::function<void(TWaveView& sender, Qt::MouseButton button, int32_t x, int32_t y)>;
using TMouseMoveEvent = std::function<void(TWaveView& sender, int32_t x, int32_t y)>;
/// Starts saving a document under its own name; true when a save started.
using TSaveDocument = std::function<bool(Twavefile& document)>;

/// The waveform view: one document shown as a ruler strip over one lane per channel (at most 8),
/// with the selection as a yellow tint and the cursor as a red line, plus the mouse, keyboard,
/// zoom, scroll-bar and playback control of that document.
///
/// Drawing goes through three off-screen layers of the view's size: `baselayer` (background,
/// ruler, grid, waveform), `sellayer` (base plus the selection tint) and `finallayer` (selection
/// layer plus the cursor line), which is what a paint shows. `Repaint` rebuilds all three from the
/// document and is the only routine that reads samples (from the piece table when fewer than 512
/// frames fall on a pixel column, else from the peak index); moving the cursor and dragging a
/// selection only touch the strips that change, and `Redraw` (keys, selections set in frames)
/// keeps the base layer while the document, span, size and colours it was drawn from stay.
///
/// Main thread only. The owner (the document window) binds `document` and `scrollbar`, which
/// the view does not own, and the events; it reads the public fields and changes the span
/// and the selection only through the view's calls (`RemoveRange`, `RestoreSpan` …), so that the
/// view keeps `visible` == `viewend` − `viewstart`; the document must outlive the view. The view
/// owns its player; playback reads the document only while it is ready. Frame numbers are unsigned
/// 32-bit, pixels signed.
class TWaveView : public QWidget, public IDocumentView {
    Q_OBJECT
public:
    explicit TWaveView(QWidget* owner = nullptr);
    ~TWaveView() override;
    TWaveView(const TWaveView&) = delete;
    TWaveView& operator=(const TWaveView&) = delete;

    static constexpr int32_t RulerHeight = 20;
    static constexpr int32_t MaxChannels = 8;
    static constexpr TColor CursorColor = 0x0000FF;
    static constexpr TColor SelectionTintColor = 0x00FFFF;
    static constexpr TColor SeparatorColor = 0xFFFFFF;
    static constexpr TColor CentreLineColor = 0x17178C;
    static constexpr TColor FullScaleColor = 0x9F876F;
    static constexpr TColor GridLineColor = 0x000000;
    static constexpr TColor LabelColor = 0x000000;
    static constexpr TColor GradientTopColor = 0x996C41;
    static constexpr TColor GradientBottomColor = 0x664020;
    static constexpr TColor RulerBorderColor = 0x969696;
    static constexpr uint8_t TintAlpha = 100;

    // --- Drawing ---

    /// Rebuilds the three layers from the document and shows the result.
    void Repaint();
    /// Shows the same picture as `Repaint` at less cost: while the document, the view's span,
    /// size and colours stay as the base layer was drawn, only the selection tint and the cursor
    /// line are drawn again.
    void Redraw();

    // --- Document, cursor and selection ---

    /// Binds the document and the scroll bar (neither owned) before the document is loaded;
    /// `SetDocument` shows it once it is.
    void Bind(Twavefile* newDocument, TScrollBar* bar);
    /// Binds `newDocument` (not owned), shows all of it, clears cursor and selection, fires
    /// OnCursor(0, 0) and repaints.
    void SetDocument(Twavefile* newDocument);
    /// Moves the cursor to `frame`, moves its line and fires OnCursor.
    void SetCursorFrame(uint32_t frame);
    /// Sets the selection (start ≤ stop; stop lowered to the document's end) and repaints; no
    /// event.
    void SetSelectionFrames(uint32_t start, uint32_t stop, bool isSelected);
    void SetSelectionMs(int64_t startms, int64_t stopms, bool isSelected);
    /// Milliseconds and frames at the document's rate, rounded to the nearest (ties to even).
    int64_t MsToFrames(int64_t ms) const;
    int64_t FramesToMs(uint32_t frameCount) const;

    // --- Zoom and scroll ---

    void ZoomIn();
    void ZoomOut();
    void ZoomFull();
    /// Moves the view to the scroll bar's position.
    void ScrollToBar();

    // --- Removing a range ---

    /// What a removal changes of the view: its span, the scroll bar's page and the selection mark.
    struct TSpan {
        int32_t PageSize = 0;
        uint32_t ViewStart = 0, Visible = 0, ViewEnd = 0;
        bool Selected = false;
    };
    TSpan Span() const;
    /// Puts back a span taken with `Span`, for a removal that the document did not carry out.
    void RestoreSpan(const TSpan& span);
    /// Takes frames `first` … `first` + `frames` − 1 out of the view ahead of the document's own
    /// removal: a range inside the view and shorter than it shortens the view and the scroll bar's
    /// page by its length; any other range shows the whole shortened document. False, with
    /// nothing changed, for a range that does not lie within the document. Keeps
    /// `visible` == `viewend` − `viewstart`; neither repaints nor fires an event.
    bool RemoveRange(int64_t first, int64_t frames);
    /// Clears the selection mark without an event or a repaint (the document's next change
    /// repaints).
    void DropSelectionMark();
    /// Whether the ruler shows times (else frame numbers), from the next repaint on.
    void SetTimeRuler(bool time);
    /// True, once, when a Yes to the close question started a save the owner has yet to follow
    /// up; clears the mark.
    bool TakeCloseAfterSave();

    // --- Playback and closing ---

    /// Plays the selection, or from the cursor to the end, when the document is ready. A sound
    /// device that fails raises EDirectSoundError and leaves the document not playing.
    void StartPlayback();
    void StopPlayback() override;
    /// The meter level (0 … 128) of each channel at the play position, for at most
    /// `levels.size()` channels.
    void PollPlayerLevels(std::span<int16_t> levels);
    /// Asks to save a modified document ("Would you like to save changes?") and closes the
    /// document when the window may close. Yes starts the save through `SaveDocument`, sets
    /// `closeaftersave` and answers false; the owner closes itself when that save has ended.
    bool CanCloseDocument();
    void PlayerStatusChanged(bool action);
    void PlayerPositionChanged(int32_t bytesPlayed);

    // --- Input with the platform's key codes (35 End, 36 Home, 37 Left, 39 Right) ---

    void KeyDown(int32_t key);
    void MouseDown(Qt::MouseButton button, int32_t x, int32_t y);
    void MouseMove(int32_t x, int32_t y);
    void MouseUp(Qt::MouseButton button, int32_t x, int32_t y);
    void DblClick();

    // --- Events (fired only when assigned) ---

    TKeyEvent OnKeyDown;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnDblClick;
    TCursorEvent OnCursor;
    TSelectEvent OnSelect;
    TPlayProcess OnPlay; ///< kept for the owner's binding; the view never fires it
    TPlayStatus OnPlayStatus;
    TNotifyEvent OnResize;
    /// How a Yes to the close question saves the document under its own name: the save
    /// operations' `savefile` unless replaced; without one the save does not begin.
    TSaveDocument SaveDocument;

    /// Shown when no document is ready, centred on `Backgroundcolor`; empty by default.
    QImage Background;
    TColor Backgroundcolor = 0;

    // --- State (read and written by the document window) ---

    std::array<int32_t, MaxChannels> lanecentre{};
    TBitmap32 baselayer;
    TBitmap32 sellayer;
    TBitmap32 finallayer;
    double samplesperpixel = 0.00001;
    /// `drawncursorx` when no cursor line stands on `finallayer`.
    static constexpr int32_t NoCursorLine = INT32_MIN;
    int32_t drawncursorx = NoCursorLine;
    int32_t cursorx = 0;
    int32_t layerwidth = 0;
    int32_t layerheight = 0;
    int32_t wavewidth = 0;
    int32_t waveheight = 0;
    bool closeaftersave = false;
    bool selected = false;
    TScrollBar* scrollbar = nullptr;
    Twavefile* document = nullptr;
    bool timeruler = true;
    uint32_t visible = 0;
    uint32_t viewstart = 0;
    uint32_t viewend = 0;
    uint32_t cursor = 0;
    int64_t cursorms = 0;
    uint32_t selectionstart = 0;
    uint32_t selectionstop = 0;
    uint32_t playstart = 0;

    // --- Mouse state ---

    uint32_t anchorframe = 0;
    int32_t anchorx = 0;
    int32_t lastdragx = 0;
    bool resumeplay = false;
    bool edgedrag = false;
    bool dragging = false;
    int32_t pressx = 0;
    uint32_t pressframe = 0;
    bool doubleclicked = false;
    bool mousepressed = false;

    TPlayer& Player() { return *player; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    /// Everything the base layer's pixels depend on, as they were when it was drawn.
    struct TBaseInputs {
        const Twavefile* Document = nullptr;
        std::weak_ptr<const void> Table;
        const uint32_t* Peaks = nullptr;
        size_t PeakCount = 0;
        uint32_t Frames = 0;
        int32_t Channels = 0;
        int32_t SampleRate = 0;
        uint32_t ViewStart = 0;
        uint32_t ViewEnd = 0;
        uint32_t Visible = 0;
        int32_t Width = 0;
        int32_t Height = 0;
        bool TimeRuler = false;
        TColor ScaleColor = 0;
        TColor WaveColor = 0;
        qint64 BackgroundKey = 0;
        TColor BackgroundColor = 0;
        bool Ready = false;
        bool Same(const TBaseInputs& other) const;
    };
    /// The selection that `sellayer` shows over the base layer.
    struct TTintInputs {
        bool Selected = false;
        uint32_t Start = 0;
        uint32_t Stop = 0;
        bool operator==(const TTintInputs&) const = default;
    };

    // Drawing routines (TWaveViewDraw.cpp)
    TBaseInputs BaseInputs() const;
    TTintInputs TintInputs() const;
    /// Builds `sellayer` from the base layer and `finallayer` from it, cursor line included.
    void DrawUpperLayers();
    void ResizeLayers();
    void DrawGradientRows(TBitmap32& canvas, int32_t left, int32_t top, int32_t right,
                          int32_t bottom, TColor from, TColor to);
    void DrawChannelGrid(int32_t channelCount);
    void DrawSampleRuler();
    void DrawTimeRuler();
    void DrawWaveform(int32_t channelCount);
    void DrawZoomedIn(int32_t channelCount, double k);
    void DrawZoomedOut(int32_t channelCount, double k);
    /// The samples of frames first … first + count − 1 that the document holds, read into
    /// `columnsamples`.
    std::span<const int16_t> ReadColumn(uint64_t first, uint64_t count);
    void DrawEmptyPicture();
    void DrawBackgroundPicture();
    /// The columns x1 … x2 − 1 that the selection tints; false when it tints none.
    bool SelectionTintColumns(int32_t& x1, int32_t& x2) const;
    void BlendTintRect(TBitmap32& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom,
                       TColor color);
    /// Draws the cursor line when the cursor lies inside the view; true when it did.
    bool DrawCursorLine();
    void MoveCursorLine();
    void DrawTick(int32_t x, double minor, const std::string& label);

    // Interaction helpers (TWaveViewInput.cpp)
    void BeginMouseSelect(int32_t x);
    void UpdateDragSelection(int32_t x);
    void EndMouseSelect(int32_t x);
    void CentreOnCursor();
    void SetScrollSteps();

    bool DocumentReady() const;
    uint32_t DocumentFrames() const;
    /// The scroll bar's page, 0 without a scroll bar.
    int32_t PageSize() const;
    void SetPage(int32_t pageSize);
    /// Pixels per full scale unit: k = 32768 / Height × 3 × channels.
    double ScaleDivisor(int32_t channelCount) const;
    void FireCursor();
    void FireSelect(uint32_t start, uint32_t stop, bool isSelected);

    std::unique_ptr<TPlayer> player;
    /// Interleaved samples of the column that a zoomed-out repaint draws from samples.
    std::vector<int16_t> columnsamples;
    /// The inputs of the layers as drawn; `basekept` and `tintkept` are false when a layer no
    /// longer follows from them (never drawn, or a drag tinted the selection layer itself).
    TBaseInputs drawnbase;
    TTintInputs drawntint;
    bool basekept = false;
    bool tintkept = false;
};
