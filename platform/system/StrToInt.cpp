#include "StrToInt.h"

#include "Exceptions.h"

#include <string>

namespace {

[[noreturn]] void Fail(std::string_view text) {
    throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

int DigitValue(char c, int base) {
    int v = -1;
    if (c >= '0' && c <= '9')
        v = c - '0';
    else if (c >= 'a' && c <= 'f')
        v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        v = c - 'A' + 10;
    return v < base ? v : -1;
}

} // namespace

int32_t StrToInt(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size())
        Fail(text);
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], base);
        if (digit < 0)
            Fail(text);
        value = value * base + digit;
        if (value > int64_t(0xFFFFFFFF))
            Fail(text);
    }
    if (negative)
        value = -value;
    if (base == 10 && (value < INT32_MIN || value > INT32_MAX))
        Fail(text);
    if (base == 16 && value < INT32_MIN)
        Fail(text);
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}
