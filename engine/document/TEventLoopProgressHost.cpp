#include "TEventLoopProgressHost.h"

#include "TProgressEvent.h"

void TEventLoopProgressHost::ShowModal() {
    Loop.Run();
}

void TEventLoopProgressHost::CloseModal() {
    Loop.Quit();
}

bool TEventLoopProgressHost::event(QEvent* e) {
    if (e->type() != TProgressEvent::EventType())
        return QObject::event(e);
    LastPercent = static_cast<TProgressEvent*>(e)->LParam;
    ProgressReceived(LastPercent);
    return true;
}

void TEventLoopProgressHost::ProgressReceived(int32_t) {}
