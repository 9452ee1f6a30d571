#pragma once

#include <cstdint>

/// Chunk record of the RIFF writer (RiffFile): the caller sets the id, size and form type; the
/// writer fills in the data offset when it creates the chunk.
struct MMCKINFO {
    uint32_t ckid = 0;
    uint32_t cksize = 0;
    uint32_t fccType = 0;
    uint32_t dwDataOffset = 0;
    uint32_t dwFlags = 0;
};

/// RiffFile::Open flags: create or truncate the file, open it for reading and writing, keep
/// others from writing it, and buffer the writes.
constexpr uint32_t MMIO_READWRITE = 0x00000002;
constexpr uint32_t MMIO_DENYWRITE = 0x00000020;
constexpr uint32_t MMIO_CREATE = 0x00001000;
constexpr uint32_t MMIO_ALLOCBUF = 0x00010000;

/// RiffFile::CreateChunk flag: a "RIFF" chunk whose form type is written after its size.
constexpr uint32_t MMIO_CREATERIFF = 0x0020;
/// MMCKINFO::dwFlags bit: the chunk size changed since creation (set by Ascend).
constexpr uint32_t MMIO_DIRTY = 0x10000000;

/// Results of RiffFile calls: 0 success.
constexpr uint32_t MMIOERR_CANNOTSEEK = 0x0107;
constexpr uint32_t MMIOERR_CANNOTWRITE = 0x0104;
constexpr uint32_t MMIOERR_CANNOTEXPAND = 0x0108;
