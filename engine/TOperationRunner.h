#pragma once

class CThread;
class Twavefile;

/// Starts and ends a document's operations: the thread with its worker, the modal progress host,
/// and the end that marks the document ready, rolls back a failed edit and fires the events.
class TOperationRunner {
public:
    /// Main thread. Returns when the operation has ended; does nothing while one runs.
    static void Start(Twavefile& document);
    /// Main thread, after the worker of `sender` has returned.
    static void Done(Twavefile& document, CThread& sender);

private:
    static void Succeeded(Twavefile& document);
    static void Failed(Twavefile& document);
    /// Destroys the thread object of an ended operation; nothing may touch it afterwards.
    static void Release(Twavefile& document, CThread& sender);
};
