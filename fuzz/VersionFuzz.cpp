// The version comparison of the update check on any pair of texts (split at the first line
// break): it answers or raises its conversion error, nothing else.
#include "Exceptions.h"
#include "IsNewerVersion.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const size_t line = text.find('\n');
    const std::string remote = text.substr(0, line);
    const std::string local = line == std::string::npos ? "4.1.0.0" : text.substr(line + 1);
    try {
        IsNewerVersion(remote, local);
    } catch (const EConvertError&) {
        // The answer for a part that is not a decimal integer.
    }
    return 0;
}
