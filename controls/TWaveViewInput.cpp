// The waveform view's interaction: mouse selection with edge grabbing, double click, keys, zoom
// and the coupling to the owner's scroll bar.
#include "Guarded.h"
#include "TScrollBar.h"
#include "TWaveView.h"
#include "Twavefile.h"
#include "ViewMath.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t VkEnd = 35;
constexpr int32_t VkHome = 36;
constexpr int32_t VkLeft = 37;
constexpr int32_t VkUp = 38;
constexpr int32_t VkRight = 39;
constexpr int32_t VkDown = 40;
constexpr int32_t EdgeReach = 4;

/// The platform's key code of a Qt key, for the keys the view and its owner know.
int32_t VirtualKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_End:
        return VkEnd;
    case Qt::Key_Home:
        return VkHome;
    case Qt::Key_Left:
        return VkLeft;
    case Qt::Key_Up:
        return VkUp;
    case Qt::Key_Right:
        return VkRight;
    case Qt::Key_Down:
        return VkDown;
    default:
        return qtKey;
    }
}

bool Near(int32_t edge, int32_t x) {
    return int64_t(edge) - EdgeReach < x && x < int64_t(edge) + EdgeReach;
}

} // namespace

// --- Mouse ---

void TWaveView::MouseDown(Qt::MouseButton button, int32_t x, int32_t y) {
    if (OnMouseDown)
        OnMouseDown(*this, button, x, y);
    if (!DocumentReady())
        return;
    setFocus(Qt::MouseFocusReason);
    if (button != Qt::LeftButton)
        return;
    x = std::min(x, wavewidth);
    const int32_t xs = RoundPixel(int32_t(selectionstart - viewstart) / samplesperpixel);
    const int32_t xe = RoundPixel(int32_t(selectionstop - viewstart) / samplesperpixel);
    int32_t pressAt;
    if (Near(xs, x)) {
        edgedrag = true;
        anchorx = xe;
        anchorframe = selectionstop;
        pressAt = xs;
    } else if (Near(xe, x)) {
        edgedrag = true;
        anchorx = xs;
        anchorframe = selectionstart;
        pressAt = xe;
    } else {
        edgedrag = false;
        anchorx = x;
        anchorframe = RoundFrame(x * samplesperpixel) + viewstart;
        pressAt = x;
    }
    lastdragx = pressAt;
    BeginMouseSelect(pressAt);
    mousepressed = true;
}

void TWaveView::BeginMouseSelect(int32_t x) {
    if (!DocumentReady())
        return;
    pressframe = RoundFrame(x * samplesperpixel) + viewstart;
    SetCursorFrame(pressframe);
    if (player->IsPlaying()) {
        StopPlayback();
        StartPlayback();
        resumeplay = true;
    }
    dragging = true;
    pressx = x;
    if (!edgedrag) {
        if (selected) {
            selected = false;
            sellayer.Assign(baselayer);
        }
        FireSelect(0, 0, false);
        selectionstart = selectionstop = pressframe;
    }
    Redraw();
}

void TWaveView::MouseMove(int32_t x, int32_t y) {
    if (OnMouseMove)
        OnMouseMove(*this, x, y);
    if (!DocumentReady())
        return;
    // Unsigned differences: an edge left of the view lies far away and is never near.
    const int32_t xs = RoundPixel(double(uint32_t(selectionstart - viewstart)) / samplesperpixel);
    const int32_t xe = RoundPixel(double(uint32_t(selectionstop - viewstart)) / samplesperpixel);
    if (Near(xs, x) || Near(xe, x))
        setCursor(Qt::SizeHorCursor);
    else
        setCursor(Qt::ArrowCursor);
    if (mousepressed) {
        UpdateDragSelection(std::min(x, wavewidth));
        if (resumeplay)
            StopPlayback();
    }
}

void TWaveView::UpdateDragSelection(int32_t x) {
    if (!DocumentReady() || !dragging)
        return;
    if (x < 0)
        x = 0;
    if (x > width())
        x = wavewidth;
    const uint32_t frame = RoundFrame(x * samplesperpixel) + viewstart;
    const int32_t px =
        samplesperpixel < 1.0 ? RoundPixel((double(frame) - viewstart) / samplesperpixel) : x;
    const int32_t top = RulerHeight;
    const int32_t bottom = RulerHeight + waveheight;
    auto tint = [&](int32_t from, int32_t to) {
        BlendTintRect(sellayer, from, top, to, bottom, SelectionTintColor);
    };
    auto restore = [&](int32_t from, int32_t to) {
        sellayer.CopyRect(baselayer, from, top, to, bottom);
    };
    const int32_t a = anchorx;
    const int32_t l = lastdragx;
    if (px > a) {
        if (a > l) {
            restore(l, a);
            tint(a, px);
        } else if (l >= px) {
            restore(px, l);
        } else {
            tint(l, px);
        }
    } else {
        if (a < l) {
            restore(a, l);
            tint(px, a);
        } else if (l <= px) {
            restore(l, px);
        } else {
            tint(px, l);
        }
    }
    finallayer.CopyRect(sellayer, std::min(l, px), top, std::max(l, px), bottom);
    // The tint now follows the mouse's pixels rather than the selection's frames.
    tintkept = false;
    lastdragx = px;
    if (anchorframe >= frame) {
        selectionstart = frame;
        selectionstop = anchorframe;
    } else {
        selectionstart = anchorframe;
        selectionstop = frame;
    }
    SetCursorFrame(frame);
}

void TWaveView::MouseUp(Qt::MouseButton button, int32_t x, int32_t y) {
    if (OnMouseUp)
        OnMouseUp(*this, button, x, y);
    if (!DocumentReady())
        return;
    if (mousepressed) {
        EndMouseSelect(std::min(x, wavewidth));
        mousepressed = false;
        if (resumeplay) {
            resumeplay = false;
            StartPlayback();
        }
    }
    if (doubleclicked) {
        doubleclicked = false;
        const uint32_t frames = DocumentFrames();
        SetSelectionFrames(0, frames, true);
        FireSelect(0, frames, true);
    }
}

void TWaveView::EndMouseSelect(int32_t x) {
    dragging = false;
    if ((x == pressx || selectionstart == selectionstop) && !edgedrag) {
        selected = false;
        FireSelect(0, 0, false);
    } else {
        selected = true;
        FireSelect(selectionstart, selectionstop, true);
    }
}

void TWaveView::DblClick() {
    if (OnDblClick)
        OnDblClick(*this);
    doubleclicked = true;
}

// --- Keys ---

void TWaveView::KeyDown(int32_t key) {
    if (OnKeyDown)
        OnKeyDown(*this, key);
    if (!DocumentReady())
        return;
    const uint32_t frames = DocumentFrames();
    const uint32_t step = std::max<uint32_t>(uint32_t(samplesperpixel), 1);
    bool moved = true;
    switch (key) {
    case VkEnd:
        cursor = frames;
        break;
    case VkHome:
        cursor = 0;
        break;
    case VkLeft:
        cursor = step >= cursor ? 0 : cursor - step;
        break;
    case VkRight:
        if (cursor < frames)
            cursor += step;
        cursor = std::min(cursor, frames);
        break;
    default:
        moved = false;
    }
    if (moved)
        Redraw();
    cursorms = FramesToMs(cursor);
    FireCursor();
}

// --- Zoom and scroll ---

void TWaveView::CentreOnCursor() {
    const uint32_t frames = DocumentFrames();
    const uint32_t h = visible / 2;
    // With an odd `visible` the view reaches one frame further after the cursor than before it,
    // so the end test takes the view's own end.
    if (cursor < h) {
        viewstart = 0;
        viewend = visible;
    } else if (uint64_t(cursor) - h + visible <= frames) {
        viewstart = cursor - h;
        viewend = viewstart + visible;
    } else {
        viewstart = frames - std::min(visible, frames);
        viewend = frames;
    }
}

void TWaveView::SetScrollSteps() {
    if (scrollbar == nullptr)
        return;
    const int64_t small = std::max<int64_t>(5 * int64_t(samplesperpixel), 1);
    scrollbar->SetSmallChange(small);
    // A click beside the thumb moves by one view, however many frames that is.
    scrollbar->SetLargeChange(visible);
}

void TWaveView::ZoomIn() {
    if (!DocumentReady() || visible <= 15)
        return;
    visible = RoundFrame(visible / 1.5);
    CentreOnCursor();
    Repaint();
    // A new page size may move the bar, and its owner then scrolls the view: the position that
    // follows puts the view back where the zoom centred it.
    const uint32_t start = viewstart;
    if (scrollbar != nullptr) {
        scrollbar->SetPageSize(int32_t(visible));
        scrollbar->SetPosition(int32_t(start));
    }
    SetScrollSteps();
}

void TWaveView::ZoomOut() {
    const uint32_t frames = DocumentFrames();
    if (!DocumentReady() || frames <= visible)
        return;
    if (visible == 0)
        visible = 1;
    visible = std::min(RoundFrame(visible * 1.5), frames);
    CentreOnCursor();
    Repaint();
    const uint32_t start = viewstart;
    if (scrollbar != nullptr)
        scrollbar->SetPageSize(int32_t(visible));
    SetScrollSteps();
    if (scrollbar != nullptr)
        scrollbar->SetPosition(int32_t(start));
}

void TWaveView::ZoomFull() {
    if (!DocumentReady())
        return;
    viewstart = 0;
    viewend = visible = DocumentFrames();
    if (scrollbar != nullptr) {
        scrollbar->SetPageSize(int32_t(visible));
        scrollbar->SetPosition(0);
        const int64_t small = wavewidth > 0 ? (int64_t(visible) * 2) / wavewidth : 0;
        scrollbar->SetSmallChange(small);
        scrollbar->SetLargeChange(visible);
    }
    Repaint();
}

void TWaveView::ScrollToBar() {
    if (!DocumentReady() || scrollbar == nullptr)
        return;
    const uint32_t frames = DocumentFrames();
    viewstart = uint32_t(std::max(scrollbar->Position(), 0));
    viewend = viewstart + visible;
    if (viewend > frames) {
        viewend = frames;
        viewstart = frames - std::min(visible, frames);
    }
    Repaint();
}

// --- Platform events ---

void TWaveView::keyPressEvent(QKeyEvent* event) {
    Guarded([this, event] { KeyDown(VirtualKey(event->key())); });
}

void TWaveView::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Guarded([this, event, at] { MouseDown(event->button(), at.x(), at.y()); });
}

void TWaveView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Guarded([this, at] { MouseMove(at.x(), at.y()); });
}

void TWaveView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    Guarded([this, event, at] { MouseUp(event->button(), at.x(), at.y()); });
}

void TWaveView::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click acts as a press, then the release selects everything.
    const QPoint at = event->position().toPoint();
    // Only the left button's double click selects the whole document.
    Guarded([this, event, at] {
        MouseDown(event->button(), at.x(), at.y());
        if (event->button() == Qt::LeftButton)
            DblClick();
    });
}
