// The main window's Window menu: the list of document windows and their arrangement in the frame.
#include "TEditorForm.h"

#include "TMDIChild.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>

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
