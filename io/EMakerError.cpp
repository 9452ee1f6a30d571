#include "EMakerError.h"

EMakerError::EMakerError(const std::string& message, int32_t code)
    : Exception(message)
    , Code(code) {}
