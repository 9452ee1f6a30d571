#pragma once

#include "Twaveoperation.h"

#include <functional>

class Twavefile;

/// A worker: the body of one operation, run on the operation's thread with the document.
using TWorker = std::function<void(Twavefile& document)>;

/// The workers that `Twavefile::startoperation` runs, by operation code. Each family of workers
/// registers its own at program start (its registration function is called by the program's start
/// and by the tests that run it); a later registration of a code replaces the earlier one. A code
/// without a registered worker ends its operation with an error. Thread-safe.
///
///     // in a family's own file
///     void RegisterStructuralEditWorkers() {
///         TWorkerTable::Register(opdelete, deleteworker);
///         TWorkerTable::Register(opsilence, silenceworker);
///     }
///
/// A worker runs after the playback gate opened. An edit clears `ready`, calls `pushundo`, builds
/// and sets the new table, sets `ready` and fires `doaction(true, false)`; it reports progress with
/// `postprogress`. It reports failure by throwing (the error is shown and a pushed edit is rolled
/// back) or, having shown its own message, by setting `thread->ReturnValue` to CThread::Failed.
class TWorkerTable {
public:
    static void Register(Twaveoperation code, TWorker worker);
    static void Unregister(Twaveoperation code);

    /// The worker of `code`, or an empty function when none is registered.
    static TWorker Find(Twaveoperation code);
};
