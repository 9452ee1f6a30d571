#pragma once

#include "Event.h"

#include <functional>

/// Hands calls from any thread to the main thread, in the spirit of a thread's Synchronize.
///
/// `Synchronize` blocks its caller until the main thread has run the call (an exception thrown by
/// the call is raised again in the caller); on the main thread it runs the call at once. `Queue`
/// does not wait. The main thread serves pending calls from its event loop (a posted event wakes
/// it) and from `CheckSynchronize`, which custom waits on the main thread call so that they never
/// block a worker that is handing a call over. Those waits include `SyncEvent` in what they wait
/// for: it is signalled while calls are pending.
class MainThreadDispatcher {
public:
    /// Makes the calling thread the main thread. When a QCoreApplication exists, its event loop
    /// starts serving hand-offs. Called once at start, before any worker runs.
    static void SetMainThread();
    static bool IsMainThread();

    static void Synchronize(const std::function<void()>& call);
    static void Queue(std::function<void()> call);

    /// Runs every pending call when called on the main thread; true when any ran.
    static bool CheckSynchronize();

    /// Signalled while calls wait for the main thread.
    static Event& SyncEvent();
};
