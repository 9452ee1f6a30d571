#pragma once

#include "Event.h"

/// Waits on the main thread until `done` is signalled, running the calls that other threads hand
/// to the main thread meanwhile, so that a worker waiting for the main thread never blocks a main
/// thread waiting for that worker. True when `done` ended the wait.
bool MainThreadWait(Event& done);
