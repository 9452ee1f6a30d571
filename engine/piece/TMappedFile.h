#pragma once

#include <cstdint>
#include <string>

/// A temporary file of a known size, created at once with its whole size reserved on disk and
/// written through a sliding memory-mapped view of at most 512 KiB. Reserving the space first means
/// a full disk is reported when the file is created, never as a fault while writing.
///
/// Call `MapAt(p)` before every access at offset p; the byte is then at View + (p − ViewStart).
/// `Close` releases the view and the file and reports a failure; the destructor releases whatever
/// is left without reporting. The file stays on disk.
class TMappedFile {
public:
    static constexpr uint32_t MaxViewSize = 524288;

    /// Creates (or replaces) `fileName` with `size` bytes and maps the first view. Raises
    /// Exception "There is not enough memory or disk space to complete the operation." when the
    /// space is not there, EOSError for any other failure.
    TMappedFile(const std::string& fileName, uint32_t size);
    ~TMappedFile();
    TMappedFile(const TMappedFile&) = delete;
    TMappedFile& operator=(const TMappedFile&) = delete;

    void MapAt(uint32_t p) {
        if (p < ViewStart || p > ViewEnd || !View)
            Remap(p);
    }

    void Close();

    uint32_t Granularity;
    uint8_t* View = nullptr;
    uint32_t FileSize;
    uint32_t ViewStart = 0;
    uint32_t ViewEnd = 0;
    uint32_t ViewSize = 0;
    int FileHandle = -1;

private:
    void Remap(uint32_t p);
    void Unmap();
};
