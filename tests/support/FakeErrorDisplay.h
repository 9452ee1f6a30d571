#pragma once

#include "TErrorDisplay.h"

#include <string>
#include <vector>

/// An error display for tests: records the messages it is asked to show.
class FakeErrorDisplay : public TErrorDisplay {
public:
    void ShowError(const std::string& message) override;

    std::vector<std::string> Messages;
};
