#include "UserInterface.h"

#include "MainThreadDispatcher.h"
#include "TErrorDisplay.h"
#include "TEventLoopProgressHost.h"
#include "TMessageBox.h"
#include "TProgressEvent.h"

#include <QCoreApplication>

#include <atomic>
#include <iostream>

namespace {

std::atomic<TProgressHost*> InstalledHost{nullptr};
std::atomic<TErrorDisplay*> InstalledDisplay{nullptr};
std::atomic<TMessageBox*> InstalledBox{nullptr};

// Made on first use, possibly by a worker, so it is moved to the main thread, where its events are
// delivered; it lives until the program ends.
TProgressHost& WindowlessHost() {
    static TEventLoopProgressHost* host = [] {
        auto* made = new TEventLoopProgressHost;
        if (QCoreApplication* app = QCoreApplication::instance())
            made->moveToThread(app->thread());
        return made;
    }();
    return *host;
}

int32_t HeadlessResult(uint32_t style) {
    switch (style & 0x0F) {
    case MB_OK:
        return IDOK;
    case MB_YESNO:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

} // namespace

void UserInterface::SetProgressHost(TProgressHost* host) {
    InstalledHost = host;
}

void UserInterface::SetErrorDisplay(TErrorDisplay* display) {
    InstalledDisplay = display;
}

void UserInterface::SetMessageBox(TMessageBox* box) {
    InstalledBox = box;
}

TProgressHost& UserInterface::ProgressHost() {
    TProgressHost* host = InstalledHost;
    return host ? *host : WindowlessHost();
}

void UserInterface::PostProgress(int32_t percent) {
    QCoreApplication::postEvent(ProgressHost().ProgressReceiver(), new TProgressEvent(percent));
}

void UserInterface::ShowError(const std::string& message) {
    if (TErrorDisplay* display = InstalledDisplay)
        display->ShowError(message);
    else
        std::cerr << message << '\n';
}

int32_t UserInterface::MessageBox(const std::string& text, const std::string& caption,
                                  uint32_t style) {
    int32_t result = IDCANCEL;
    MainThreadDispatcher::Synchronize([&] {
        if (TMessageBox* box = InstalledBox) {
            result = box->Show(text, caption, style);
            return;
        }
        std::cerr << caption << ": " << text << '\n';
        result = HeadlessResult(style);
    });
    return result;
}
