#pragma once

#include <string>

/// The application's standard display of an exception that ended an operation: a message box with
/// the exception's message. Called on the main thread only.
class IErrorDisplay {
public:
    virtual ~IErrorDisplay() = default;
    virtual void ShowError(const std::string& message) = 0;
};
