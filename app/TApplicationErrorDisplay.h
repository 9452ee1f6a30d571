#pragma once

#include "TErrorDisplay.h"

/// The application's standard display of an exception: a modal message box with the message, the
/// error icon and the program's title. A window that holds the mouse capture loses it first.
class TApplicationErrorDisplay : public TErrorDisplay {
public:
    void ShowError(const std::string& message) override;
};
