#pragma once

#include "Tindexdata.h"

#include <array>
#include <cstdint>

/// The arithmetic that keeps a document's peak index and levels in step with its table after an
/// edit. Pure functions of their arguments; any thread.
class TPeakBookkeeping {
public:
    /// Per-channel absolute peaks, the overall peak and its level in dB from a peak index. −32768
    /// counts as 32767, so levels stay at or below 0 dB.
    static void Levels(const Tindexdata& index, int32_t channels, std::array<int16_t, 8>& peaks,
                       int16_t& peak, double& leveldb);

    /// `old` (the index of `frames` frames) with frames startFrame … endFrame − 1 replaced by
    /// `insertFrames` frames whose own index is `insert`, on the new frames' grid: a block that
    /// takes any frame of an old or inserted block keeps that block's extremes (see TPeakRegrid).
    static Tindexdata Splice(const Tindexdata& old, int64_t frames, int32_t channels,
                             const Tindexdata& insert, int64_t insertFrames, int64_t startFrame,
                             int64_t endFrame);

    /// The index of frames first … last − 1 alone, on their own grid from `first`, from the index
    /// of the whole document.
    static Tindexdata Range(const Tindexdata& index, int32_t channels, int64_t first, int64_t last);

    /// The index of a document of `frames` frames after its frames are put in reverse order.
    static Tindexdata Reverse(const Tindexdata& index, int64_t frames, int32_t channels);

    /// A copy of `old` with `part` written over it from the block that holds startFrame on;
    /// elements of `part` beyond the end of `old` are dropped.
    static Tindexdata Replace(const Tindexdata& old, int32_t channels, const Tindexdata& part,
                              int64_t startFrame);
};
