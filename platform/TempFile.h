#pragma once

#include <string>

/// Creates a new empty file "<folder>/<prefix>XXXXXX.tmp" with a unique name (mkstemps) and returns
/// its full name. `folder` may end with a separator or not. Raises EOSError naming the folder and
/// the reason when the file cannot be created.
std::string CreateUniqueTempFile(const std::string& folder, const std::string& prefix);

/// Bytes free to an unprivileged caller on the file system that holds `path`; −1 when unknown.
long long FreeSpaceOf(const std::string& path);
