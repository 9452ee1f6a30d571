#pragma once

#include <cstdint>
#include <string_view>

/// Converts text to a 32-bit integer the way the rest of the program expects: leading blanks
/// allowed, an optional sign, decimal digits (or "$"/"0x" followed by hexadecimal digits) and
/// nothing after them. Anything else raises EConvertError with
/// "'<text>' is not a valid integer value".
int32_t StrToInt(std::string_view text);
