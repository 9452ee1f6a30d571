#pragma once

#include "Tindexdata.h"

#include <cstdint>

/// Builds the peak index of a new arrangement of frames from the indexes of the frames' sources,
/// without reading samples: runs of frames are appended in order, each run taken from a source
/// whose index is known (on the source's own grid of 512-frame blocks from its frame 0), and each
/// new block gets the union (largest maximum, smallest minimum) of every source block that gave it
/// a frame. So an edited index never shows less than the audio holds, however the runs fall on the
/// blocks; it may show more where a source block also held frames that were left out. A new block
/// that no source element covers (a source index shorter than its frames) holds 0 and 0.
///
///     TPeakRegrid grid(channels);
///     grid.Append(old, 0, start);                 // the frames before a delete
///     grid.Append(old, end, frames - end);        // and those after it
///     Tindexdata index = grid.Take();
///
/// One thread at a time.
class TPeakRegrid {
public:
    explicit TPeakRegrid(int32_t channels);

    /// Appends frames first … first + count − 1 of the source whose index is `index`; `reversed`
    /// appends them last frame first.
    void Append(const Tindexdata& index, int64_t first, int64_t count, bool reversed = false);

    /// The index of every frame appended: ⌈frames / 512⌉ blocks. Leaves the builder empty.
    Tindexdata Take();

private:
    void Merge(int64_t block, const Tindexdata& index, int64_t sourceBlock);

    int32_t Channels;
    int64_t Frames = 0;
    Tindexdata Result;
};
