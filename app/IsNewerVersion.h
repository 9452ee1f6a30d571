#pragma once

#include <string>

/// True when the version text `remote` names a later version than `local`. Each text is split at
/// its "." into parts; a text without any "." gives false. The first four parts (missing ones
/// count 0, further ones are ignored) make the number p0·1000000 + p1·10000 + p2·100 + p3, so
/// parts above 99 run into the next part (1.0.100.0 equals 1.1.0.0). Raises EConvertError for a
/// part among the first four that is not a decimal integer.
bool IsNewerVersion(const std::string& remote, const std::string& local);
