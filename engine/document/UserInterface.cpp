#include "UserInterface.h"

#include "IErrorDisplay.h"
#include "IMessageBox.h"
#include "MainThreadDispatcher.h"
#include "TEventLoopProgressHost.h"
#include "TProgressEvent.h"

#include <QCoreApplication>

#include <atomic>
#include <iostream>

namespace {

std::atomic<IProgressHost*> InstalledHost{nullptr};
std::atomic<IErrorDisplay*> InstalledDisplay{nullptr};
std::atomic<IMessageBox*> InstalledBox{nullptr};

// Made on first use, possibly by a worker, so it is moved to the main thread, where its events are
// delivered; it lives until the program ends.
IProgressHost& WindowlessHost() {
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

void UserInterface::SetProgressHost(IProgressHost* host) {
    InstalledHost = host;
}

void UserInterface::SetErrorDisplay(IErrorDisplay* display) {
    InstalledDisplay = display;
}

void UserInterface::SetMessageBox(IMessageBox* box) {
    InstalledBox = box;
}

IProgressHost& UserInterface::ProgressHost() {
    IProgressHost* host = InstalledHost;
    return host ? *host : WindowlessHost();
}

void UserInterface::PostProgress(int32_t percent) {
    QCoreApplication::postEvent(ProgressHost().ProgressReceiver(), new TProgressEvent(percent));
}

void UserInterface::ShowError(const std::string& message) {
    if (IErrorDisplay* display = InstalledDisplay)
        display->ShowError(message);
    else
        std::cerr << message << '\n';
}

int32_t UserInterface::MessageBox(const std::string& text, const std::string& caption,
                                  uint32_t style) {
    int32_t result = IDCANCEL;
    MainThreadDispatcher::Synchronize([&] {
        if (IMessageBox* box = InstalledBox) {
            result = box->Show(text, caption, style);
            return;
        }
        std::cerr << caption << ": " << text << '\n';
        result = HeadlessResult(style);
    });
    return result;
}
