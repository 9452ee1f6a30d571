#pragma once

#include "Tindexdata.h"

#include <cstdint>
#include <functional>
#include <memory>

class TDataFile;
class TLargeFile;

/// Converts a clipboard table to another sample rate and channel count, for a paste into a
/// document of a different format: the converted samples go, from byte 0 and without a header,
/// into one new temporary data file (deleted when the last piece that refers to it goes), and
/// their peak index is built as they are written. Fewer channels take the rounded
/// mean of the channels that map to them, more repeat the source's channels in turn; the same rate
/// is not resampled, so a conversion of channels alone is exact.
///
/// Input is read in blocks of 2048 samples; each block's percentage (block × 100 div blocks) goes
/// to the progress callback, which is called on the converting thread. The source table is only
/// read, through a private read window, so it may be shared with other readers.
class ClipboardConverter {
public:
    /// What a conversion produced.
    struct Result {
        std::shared_ptr<const TDataFile> DataFile; ///< the new headerless temporary file
        int64_t Length = 0; ///< bytes written to it; a whole number of target frames
        Tindexdata Index;   ///< its peak index; empty when nothing was written
    };

    using Progress = std::function<void(int32_t percent)>;

    /// Samples read per input block.
    static constexpr int64_t BlockSamples = 2048;
    /// Bytes of converted output taken from the converter at a time.
    static constexpr int32_t OutputCapacity = 524288;

    /// Converts every frame of `source` to `sampleRate` and `channels` (1 … 8). Raises EOSError,
    /// EFOpenError or EWriteError when the new file cannot be created, opened, written or closed
    /// (Exception with TSampleFileStream's text when the disk is full), EFOpenError or EReadError
    /// when a piece of the source cannot be read, and Exception when the converter cannot be
    /// made. A conversion that raises deletes its new file.
    static Result Convert(const TLargeFile& source, int32_t sampleRate, int32_t channels,
                          const Progress& progress);

    /// Bytes that converting `source` to `sampleRate` and `channels` gives at most.
    static int64_t MaxResultBytes(const TLargeFile& source, int32_t sampleRate, int32_t channels);
};
