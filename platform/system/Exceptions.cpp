#include "Exceptions.h"

#include <cstring>

namespace {

std::string Describe(int code, const std::string& context) {
    std::string text = std::strerror(code);
    if (!context.empty())
        return context + ": " + text;
    return "System Error.  Code: " + std::to_string(code) + ".\n" + text;
}

} // namespace

EOSError::EOSError(int code, const std::string& context)
    : Exception(Describe(code, context))
    , Code(code) {}
