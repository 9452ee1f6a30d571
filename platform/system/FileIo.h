#pragma once

#include <cstdint>

/// What a whole-buffer transfer did: the bytes it moved and why it stopped short.
struct FileIoResult {
    /// Bytes moved before the transfer ended.
    int64_t Bytes = 0;
    /// 0 when the transfer is complete (or a read met the end of the file); otherwise the error
    /// that stopped it, ENOSPC for a write that stored nothing without an error.
    int Error = 0;
};

/// Writes all `bytes` of `data` at the descriptor's current offset, retrying interrupted calls.
FileIoResult WriteAll(int descriptor, const void* data, int64_t bytes);

/// Writes all `bytes` of `data` at file offset `position`, retrying interrupted calls; the
/// descriptor's offset does not move.
FileIoResult WriteAllAt(int descriptor, int64_t position, const void* data, int64_t bytes);

/// Reads `bytes` bytes at file offset `position` into `data`, retrying interrupted calls; stops
/// early only at the end of the file or on an error.
FileIoResult ReadAllAt(int descriptor, int64_t position, void* data, int64_t bytes);
