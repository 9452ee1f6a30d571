#pragma once

#include "TestFiles.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TLargeFile;

/// Test helpers: headerless sample files in a private temporary folder, tables over them, and the
/// folder installed as the program's temporary folder while the object lives.
class PcmPieces {
public:
    PcmPieces();
    ~PcmPieces();
    PcmPieces(const PcmPieces&) = delete;
    PcmPieces& operator=(const PcmPieces&) = delete;

    /// Writes `samples` to a new headerless file and returns its name.
    std::string WriteFile(const std::vector<int16_t>& samples);
    /// A table of one file-backed piece over `samples` (offset 0).
    std::unique_ptr<TLargeFile> Table(const std::vector<int16_t>& samples, int32_t channels,
                                      int32_t rate);
    /// Temporary files in the folder.
    size_t FileCount() const;

    const TempDir Folder;

private:
    std::string OldTempFolder;
    int Counter = 0;
};
