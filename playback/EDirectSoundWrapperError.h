#pragma once

#include "Exceptions.h"

/// Misuse of the sound-buffer wrapper: too many notification positions, or an event that
/// cannot be created.
class EDirectSoundWrapperError : public Exception {
public:
    using Exception::Exception;
};
