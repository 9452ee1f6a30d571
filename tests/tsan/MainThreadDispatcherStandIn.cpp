// A Qt-free main-thread dispatcher for the ThreadSanitizer build: it knows the main thread and
// offers the synchronise event, but nothing in that program hands calls to the main thread.
#include "MainThreadDispatcher.h"

#include <thread>

namespace {

std::thread::id& MainThread() {
    static std::thread::id id = std::this_thread::get_id();
    return id;
}

} // namespace

void MainThreadDispatcher::SetMainThread() {
    MainThread() = std::this_thread::get_id();
}

bool MainThreadDispatcher::IsMainThread() {
    return std::this_thread::get_id() == MainThread();
}

bool MainThreadDispatcher::CheckSynchronize() {
    SyncEvent().Reset();
    return false;
}

Event& MainThreadDispatcher::SyncEvent() {
    static Event event(true);
    return event;
}
