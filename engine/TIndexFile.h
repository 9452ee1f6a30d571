#pragma once

#include "Tindexdata.h"

#include <string>

/// A peak index parked in a file "~wi….tmp" of the temporary folder, so that a table waiting on an
/// undo or redo stack keeps no copy of its index in memory. The file goes when the index is taken
/// back or when this object goes, and is listed in `TempFiles` for the end of the program in any
/// case. The prefix keeps these files apart from the sample files "~we….tmp". One thread at a
/// time.
class TIndexFile {
public:
    TIndexFile() = default;
    ~TIndexFile();
    TIndexFile(const TIndexFile&) = delete;
    TIndexFile& operator=(const TIndexFile&) = delete;

    /// Writes `index` into a new file, replacing what this held. Returns false, holding nothing
    /// and leaving no file, when the temporary folder cannot take it (missing, full, read-only).
    bool Store(const Tindexdata& index);
    /// The stored index, read back element for element; this then holds nothing. Raises
    /// EReadError naming the file when it cannot be read back whole, and then still holds it.
    Tindexdata Take();
    /// True when an index is stored.
    bool Holds() const { return !FileName.empty(); }

private:
    void Remove();

    std::string FileName;
    size_t Elements = 0;
};
