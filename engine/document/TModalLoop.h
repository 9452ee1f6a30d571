#pragma once

#include <vector>

class QEventLoop;

/// The local event loops of a modal window: `Run` spins a new loop until `Quit` ends it, and runs
/// nest (a handler that runs inside one loop may start another). Main thread only.
class TModalLoop {
public:
    /// Runs a local event loop until `Quit` ends it.
    void Run();

    /// Ends the innermost loop that is still running; does nothing when none runs.
    void Quit();

    /// Loops started and not yet ended.
    int Depth() const { return static_cast<int>(Running.size()); }

private:
    std::vector<QEventLoop*> Running;
};
