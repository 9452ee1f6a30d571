#pragma once

#include <stdexcept>
#include <string>

/// The root of the program's own exceptions: a message meant for the user.
class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message)
        : std::runtime_error(message) {}
};

/// Text that does not convert to a number.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

/// A failed system call: carries errno and the system's text for it.
class EOSError : public Exception {
public:
    /// Message "System Error.  Code: <code>.\n<text>", or `context` followed by the text.
    explicit EOSError(int code, const std::string& context = {});
    int ErrorCode() const { return Code; }

private:
    int Code;
};

/// A file that cannot be opened.
class EFOpenError : public Exception {
public:
    using Exception::Exception;
};

/// A file that cannot be read.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

/// A file that cannot be written.
class EWriteError : public Exception {
public:
    using Exception::Exception;
};
