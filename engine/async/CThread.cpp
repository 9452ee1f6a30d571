#include "CThread.h"

#include "Event.h"
#include "MainThreadDispatcher.h"
#include "UserInterface.h"

CThread::CThread(TWorker worker, Twavefile& document)
    : Worker(std::move(worker))
    , Document(document) {}

CThread::~CThread() {
    if (Thread.joinable())
        Thread.join();
}

void CThread::Resume() {
    Thread = std::thread([this] { Run(); });
}

void CThread::Run() {
    Execute();
    MainThreadDispatcher::Queue([this] { Terminated(); });
}

void CThread::Execute() {
    ErrorObject = nullptr;
    try {
        if (Gate)
            Gate->Wait();
        Worker(Document);
    } catch (...) {
        reporterror(std::current_exception());
    }
}

void CThread::reporterror(std::exception_ptr error) {
    ErrorObject = error;
    try {
        MainThreadDispatcher::Synchronize([this] { showerror(); });
    } catch (...) {
        // The display itself failed; the operation still ends as one with an error.
        ReturnValue = ErrorShown;
    }
    ErrorObject = nullptr;
}

void CThread::showerror() {
    ReturnValue = ErrorShown;
    try {
        std::rethrow_exception(ErrorObject);
    } catch (const std::exception& error) {
        UserInterface::ShowError(error.what());
    } catch (...) {
        UserInterface::ShowError("The operation ended with an unknown error.");
    }
}

void CThread::Terminated() {
    // The worker has returned and nothing runs after the hand-off, so the join is immediate. The
    // handler may destroy this object: nothing here touches it afterwards.
    Thread.join();
    if (OnTerminate)
        OnTerminate(*this);
}
