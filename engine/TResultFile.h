#pragma once

#include <string>

/// The name of a new temporary result file of an edit (made empty by `GetTempFileNameIn`, which
/// lists it for deletion at exit), deleted from disk at once unless the edit that writes it calls
/// `Keep`: a failed edit, on a disk that may already be full, leaves no partial file behind.
///
///     TResultFile file;
///     ...write file.Name(), build the table that refers to it...
///     file.Keep();
///
/// One thread at a time.
class TResultFile {
public:
    /// Creates the empty file; raises what `GetTempFileNameIn` raises.
    TResultFile();
    ~TResultFile();
    TResultFile(const TResultFile&) = delete;
    TResultFile& operator=(const TResultFile&) = delete;

    const std::string& Name() const { return FileName; }
    /// The edit has succeeded: the file stays until the program ends.
    void Keep() { Kept = true; }

private:
    std::string FileName;
    bool Kept = false;
};
