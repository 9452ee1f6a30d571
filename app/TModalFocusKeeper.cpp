#include "TModalFocusKeeper.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace {

bool IsModalWindow(QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget != nullptr && widget->isWindow() && widget->isModal() &&
           widget->windowType() != Qt::Popup;
}

} // namespace

TModalFocusKeeper::TModalFocusKeeper(QObject* parent)
    : QObject(parent) {
    qApp->installEventFilter(this);
}

TModalFocusKeeper::~TModalFocusKeeper() {
    qApp->removeEventFilter(this);
}

bool TModalFocusKeeper::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type == QEvent::Show || type == QEvent::Hide) && IsModalWindow(watched)) {
        auto* modal = static_cast<QWidget*>(watched);
        if (type == QEvent::Show)
            Shown(modal);
        else
            Hidden(modal);
    }
    return QObject::eventFilter(watched, event);
}

void TModalFocusKeeper::Shown(QWidget* modal) {
    QWidget* active = QApplication::activeWindow();
    if (active == nullptr || active == modal)
        return;
    QWidget* focus = QApplication::focusWidget();
    Previous[modal] = {active, focus != nullptr && focus->window() == active ? focus : nullptr};
}

void TModalFocusKeeper::Hidden(QWidget* modal) {
    ClosePopups();
    const auto found = Previous.find(modal);
    if (found == Previous.end())
        return;
    const Focus previous = found->second;
    Previous.erase(found);
    QWidget* window = previous.Window;
    if (window == nullptr || !window->isVisible() || window->isMinimized())
        return;
    // Another modal window still running keeps the activation.
    if (QWidget* other = QApplication::activeModalWidget(); other != nullptr && other != window)
        return;
    window->activateWindow();
    if (previous.Widget != nullptr && previous.Widget->isVisible() && previous.Widget->isEnabled())
        previous.Widget->setFocus(Qt::ActiveWindowFocusReason);
}

void TModalFocusKeeper::ClosePopups() {
    // A popup cannot outlive the modal window it was opened from: nothing else could open one.
    for (int i = 0; i < 16; ++i) {
        QWidget* popup = QApplication::activePopupWidget();
        if (popup == nullptr)
            return;
        popup->close();
    }
}
