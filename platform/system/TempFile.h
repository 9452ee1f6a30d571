#pragma once

#include <string>

/// A newly created file and the descriptor it was created with.
struct UniqueTempFile {
    std::string Name;
    int Handle = -1; ///< open for reading and writing, close-on-exec; the caller closes it
};

/// Creates a new empty file "<folder>/<prefix>XXXXXX.tmp" with a unique name, readable and
/// writable by its owner only, and keeps it open. `folder` may end with a separator or not.
/// Raises EOSError naming the folder and the reason when the file cannot be created.
UniqueTempFile OpenUniqueTempFile(const std::string& folder, const std::string& prefix);

/// `folder` with one separator at its end; "./" for an empty name.
std::string FolderWithSeparator(const std::string& folder);

/// Bytes free to an unprivileged caller on the file system that holds `path`; −1 when unknown.
long long FreeSpaceOf(const std::string& path);
