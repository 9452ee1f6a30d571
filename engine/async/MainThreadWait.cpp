#include "MainThreadWait.h"

#include "MainThreadDispatcher.h"

#include <array>

bool MainThreadWait(Event& done) {
    const std::array<Event*, 2> events{&done, &MainThreadDispatcher::SyncEvent()};
    for (;;) {
        const int which = Event::WaitForAny(events);
        if (which == 0)
            return true;
        if (which != 1)
            return false;
        MainThreadDispatcher::CheckSynchronize();
    }
}
