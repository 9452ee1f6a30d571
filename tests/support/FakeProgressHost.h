#pragma once

#include "TEventLoopProgressHost.h"

#include <cstdint>
#include <functional>
#include <vector>

/// A progress host for tests: runs a local event loop while shown and records what it receives.
class FakeProgressHost : public TEventLoopProgressHost {
public:
    void ShowModal() override;
    void CloseModal() override;

    std::vector<int32_t> Received; ///< every percentage received, in order
    int Shown = 0;
    int Closed = 0;
    /// Runs on the main thread each time the host is shown, before its loop starts.
    std::function<void()> OnShow;

protected:
    void ProgressReceived(int32_t percent) override;
};
