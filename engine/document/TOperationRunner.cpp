#include "TOperationRunner.h"

#include "CThread.h"
#include "Exceptions.h"
#include "IDocumentView.h"
#include "IProgressHost.h"
#include "TUndoBookkeeping.h"
#include "TWorkerTable.h"
#include "Twavefile.h"
#include "UserInterface.h"

#include <string>
#include <vector>

namespace {

/// The worker of a code that has none registered: the operation ends with an error.
TWorker MissingWorker(Twaveoperation code) {
    return [code](Twavefile&) {
        throw Exception("This operation is not available (code " + std::to_string(code) + ").");
    };
}

bool IsSave(Twaveoperation code) {
    return code == opsavemp3 || code == opsavewav;
}

} // namespace

void TOperationRunner::Start(Twavefile& document) {
    if (document.busy)
        return;
    document.busy = true;
    try {
        if (document.view && document.playing)
            document.view->StopPlayback();
        TWorker worker = TWorkerTable::Find(document.operation);
        if (!worker)
            worker = MissingWorker(document.operation);
        document.editpushes = 0;
        // A handler of the previous operation's end started this one: that thread object lives
        // until its end returns.
        if (document.thread)
            document.endingthreads.push_back(std::move(document.thread));
        document.thread = std::make_unique<CThread>(std::move(worker), document);
        document.thread->ReturnValue = CThread::Succeeded;
        document.thread->Gate = &document.playevent;
        document.thread->OnTerminate = [&document](CThread& sender) {
            document.operationdone(sender);
        };
        document.thread->Resume();
    } catch (...) {
        document.thread.reset();
        document.busy = false;
        throw;
    }
    UserInterface::ProgressHost().ShowModal();
}

void TOperationRunner::Done(Twavefile& document, CThread& sender) {
    // A handler below may start the next operation, which changes `operation`.
    const Twaveoperation code = document.operation;
    UserInterface::ProgressHost().CloseModal();
    document.busy = false;
    if (sender.ReturnValue == CThread::Succeeded)
        Succeeded(document, code);
    else
        Failed(document, code);
    document.doready();
    // A load's decoder posts progress without keeping `progress`, so a load always posts its 0.
    if (code == opload && document.progress == 0)
        document.showprogress(0);
    document.setprogress(0);
    Release(document, sender);
}

void TOperationRunner::Release(Twavefile& document, CThread& sender) {
    if (document.thread.get() == &sender) {
        document.thread.reset();
        return;
    }
    auto& ending = document.endingthreads;
    std::erase_if(ending, [&](const std::unique_ptr<CThread>& t) { return t.get() == &sender; });
}

void TOperationRunner::Succeeded(Twavefile& document, Twaveoperation code) {
    document.editpushes = 0;
    // The snapshot an edit pushed stayed whole for a rollback; now it only waits.
    TUndoBookkeeping::ParkStacks(document);
    document.ready = true;
    if (code == opload)
        document.doloaded(true);
    else if (IsSave(code) && document.savesdocument)
        document.modified = false;
}

void TOperationRunner::Failed(Twavefile& document, Twaveoperation code) {
    if (code == opload) {
        document.editpushes = 0;
        document.loadfailed = true;
    } else {
        // Take back what the failed operation changed; a copy or a save changed no table.
        TUndoBookkeeping::Rollback(document);
        if (document.table)
            document.ready = true;
    }
    document.doloaded(false);
}
