#pragma once

#include "Exceptions.h"

#include <cstdint>
#include <string>

/// A failure of the WAV writer: one of its fixed messages, with the code −1.
class EMakerError : public Exception {
public:
    EMakerError(const std::string& message, int32_t code);
    int32_t ErrorCode() const { return Code; }

private:
    int32_t Code;
};
