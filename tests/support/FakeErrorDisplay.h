#pragma once

#include "IErrorDisplay.h"

#include <string>
#include <vector>

/// An error display for tests: records the messages it is asked to show.
class FakeErrorDisplay : public IErrorDisplay {
public:
    void ShowError(const std::string& message) override;

    std::vector<std::string> Messages;
};
