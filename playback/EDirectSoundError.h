#pragma once

#include "EDirectXError.h"

/// A sound-buffer call that returned a failure code; raised only by `DSCheck`, with a message
/// that names the error.
class EDirectSoundError : public EDirectXError {
public:
    using EDirectXError::EDirectXError;
};
