#include "FakeProgressHost.h"

void FakeProgressHost::ShowModal() {
    ++Shown;
    if (OnShow)
        OnShow();
    TEventLoopProgressHost::ShowModal();
}

void FakeProgressHost::CloseModal() {
    ++Closed;
    TEventLoopProgressHost::CloseModal();
}

void FakeProgressHost::ProgressReceived(int32_t percent) {
    Received.push_back(percent);
}
