#include "FakeErrorDisplay.h"

#include "MainThreadDispatcher.h"

#include <stdexcept>

void FakeErrorDisplay::ShowError(const std::string& message) {
    if (!MainThreadDispatcher::IsMainThread())
        throw std::logic_error("error display used off the main thread");
    Messages.push_back(message);
}
