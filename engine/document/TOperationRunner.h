#pragma once

#include "Twaveoperation.h"

class CThread;
class Twavefile;

/// Starts and ends a document's operations: the thread with its worker, the modal progress host,
/// and the end that marks the document ready, parks the tables on the undo and redo stacks (see
/// TUndoBookkeeping), rolls back a failed edit and fires the events.
class TOperationRunner {
public:
    /// Main thread. Returns when the operation has ended; does nothing while one runs. An
    /// exception from stopping the view's playback leaves it to the caller, and nothing starts.
    static void Start(Twavefile& document);
    /// Main thread, after the worker of `sender` has returned.
    static void Done(Twavefile& document, CThread& sender);

private:
    static void Succeeded(Twavefile& document, Twaveoperation code);
    static void Failed(Twavefile& document, Twaveoperation code);
    /// Destroys the thread object of an ended operation; nothing may touch it afterwards.
    static void Release(Twavefile& document, CThread& sender);
};
