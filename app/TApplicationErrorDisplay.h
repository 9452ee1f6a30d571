#pragma once

#include "IErrorDisplay.h"

/// The application's standard display of an exception: the program's error message dialog, titled
/// with the program's title and worded as every exception the windows show (see ExceptionText).
/// A window that holds the mouse capture loses it first.
class TApplicationErrorDisplay : public IErrorDisplay {
public:
    void ShowError(const std::string& message) override;
};
