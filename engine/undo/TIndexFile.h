#pragma once

#include "Tindexdata.h"

#include <memory>

class TDataFile;

/// A peak index parked in a temporary file "~wi….tmp", so that a table waiting on an undo or redo
/// stack keeps no copy of its index in memory. The file is held and deleted like the sample data
/// files (see TDataFile): it goes when the index is taken back or when this object goes, it stays
/// readable when something else removes its name, and a later instance removes it when this one
/// crashed. One thread at a time.
class TIndexFile {
public:
    TIndexFile();
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
    bool Holds() const { return File != nullptr; }

private:
    std::shared_ptr<const TDataFile> File;
    size_t Elements = 0;
};
