#pragma once

#include "RiffTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

/// A RIFF file being written: chunks are created, filled with Write and closed with Ascend,
/// which patches their size and adds the pad byte after an odd size. Writes are buffered; a
/// failure of the file system shows in the result of whichever call flushes the buffer.
///
/// The file refuses to grow past 4 GiB − 1 bytes, so that no RIFF size can wrap around. Used by
/// one thread at a time. The methods are virtual so that tests can provoke each failure.
class RiffFile {
public:
    /// Opens `name` with the MMIO_* flags (MMIO_CREATE creates or truncates it). Returns null
    /// when the file cannot be opened; errno tells why.
    static std::unique_ptr<RiffFile> Open(const std::string& name, uint32_t flags);

    virtual ~RiffFile();
    RiffFile(const RiffFile&) = delete;
    RiffFile& operator=(const RiffFile&) = delete;

    /// Writes the chunk header at the current position: `ck.ckid` (or "RIFF" with
    /// MMIO_CREATERIFF, followed by `ck.fccType`) and `ck.cksize`; sets `ck.dwDataOffset`.
    /// Returns 0 or an MMIOERR_* code.
    virtual uint32_t CreateChunk(MMCKINFO& ck, uint32_t flags);
    /// Writes `bytes` bytes at the current position; returns the count or −1.
    virtual int32_t Write(const void* data, int32_t bytes);
    /// Ends the chunk at the current position: pads an odd size with one zero byte and writes
    /// the real size into the chunk header when it differs. Returns 0 or an MMIOERR_* code.
    virtual uint32_t Ascend(MMCKINFO& ck, uint32_t flags);
    /// Moves to `offset` from the start (origin 0), the current position (1) or the end (2);
    /// returns the new position or −1. Positions stop at 4 GiB − 1.
    virtual int64_t Seek(int64_t offset, int32_t origin);
    /// Writes what is buffered; returns 0 or MMIOERR_CANNOTWRITE.
    virtual uint32_t Flush();
    /// Writes what is buffered and closes the file; returns 0 or MMIOERR_CANNOTWRITE. The
    /// destructor writes and closes an open file without reporting, leaving its chunk sizes
    /// as they are.
    virtual uint32_t Close();
    /// The system's error number of the last call that failed (EFBIG for a file that would pass
    /// 4 GiB − 1 bytes, ENOSPC for a write that the system took nothing of); 0 before any failure.
    int ErrorCode() const { return LastError; }

protected:
    explicit RiffFile(int descriptor);

private:
    /// Buffered write at the current position; false when it fails or passes 4 GiB − 1.
    bool Put(const void* data, uint64_t bytes);
    bool WriteBuffer();
    bool WriteAt(uint64_t position, const void* data, uint64_t bytes);
    int64_t EndPosition() const;

    int Descriptor;
    int LastError = 0;
    /// The logical position of the next byte written.
    uint64_t Position = 0;
    /// The file's size on disk, without the buffer.
    uint64_t FileSize = 0;
    /// Bytes waiting to be written at BufferStart.
    std::vector<uint8_t> Buffer;
    uint64_t BufferStart = 0;
};
