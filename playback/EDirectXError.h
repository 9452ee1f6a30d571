#pragma once

#include "Exceptions.h"

#include <cstdint>
#include <string>

/// A failed call of the sound layer; `Code` is the call's 32-bit result code.
class EDirectXError : public Exception {
public:
    EDirectXError(const std::string& message, int32_t code)
        : Exception(message)
        , Code(code) {}

    int32_t Code;
};
