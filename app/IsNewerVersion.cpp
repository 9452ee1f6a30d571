#include "IsNewerVersion.h"
#include "Exceptions.h"
#include "StrToInt.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace {
// A decimal part: an optional sign and digits (StrToInt alone would also take "$1F" and "0x1F").
int64_t PartValue(std::string_view part) {
    std::string_view digits = part;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+'))
        digits.remove_prefix(1);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string_view::npos)
        throw EConvertError("'" + std::string(part) + "' is not a valid integer value");
    return StrToInt(part);
}

int64_t VersionNumber(std::string_view text) {
    std::vector<std::string_view> parts;
    for (size_t start = 0; parts.size() < 4;) {
        size_t dot = text.find('.', start);
        parts.push_back(text.substr(start, dot == std::string_view::npos ? dot : dot - start));
        if (dot == std::string_view::npos)
            break;
        start = dot + 1;
    }
    const int64_t weights[4] = {1000000, 10000, 100, 1};
    int64_t number = 0;
    for (size_t i = 0; i < parts.size(); ++i)
        number += PartValue(parts[i]) * weights[i];
    return number;
}
} // namespace

bool IsNewerVersion(const std::string& remote, const std::string& local) {
    if (remote.find('.') == std::string::npos || local.find('.') == std::string::npos)
        return false;
    return VersionNumber(remote) > VersionNumber(local);
}
