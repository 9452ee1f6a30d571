#pragma once

#include "Exceptions.h"

/// A file that the program expected is not there (or not a file).
class EFilerError : public Exception {
public:
    using Exception::Exception;
};
