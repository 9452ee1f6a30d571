#include "TPeakBookkeeping.h"

#include "AppServices.h"
#include "TPeakRegrid.h"

#include <algorithm>

void TPeakBookkeeping::Levels(const Tindexdata& index, int32_t channels,
                              std::array<int16_t, 8>& peaks, int16_t& peak, double& leveldb) {
    peaks.fill(0);
    peak = 0;
    leveldb = 0.0;
    const int32_t used = std::clamp(channels, 0, 8);
    const size_t blocks = used == 0 ? 0 : index.size() / static_cast<size_t>(channels);
    for (size_t b = 0; b < blocks; ++b) {
        for (int32_t c = 0; c < used; ++c) {
            const uint32_t element = index[b * channels + c];
            const int16_t m = std::max(PeakMagnitude(IndexMaximum(element)),
                                       PeakMagnitude(IndexMinimum(element)));
            peaks[c] = std::max(peaks[c], m);
        }
    }
    for (int32_t c = 0; c < used; ++c)
        peak = std::max(peak, peaks[c]);
    leveldb = AmplitudeToDb(peak);
}

Tindexdata TPeakBookkeeping::Splice(const Tindexdata& old, int64_t frames, int32_t channels,
                                    const Tindexdata& insert, int64_t insertFrames,
                                    int64_t startFrame, int64_t endFrame) {
    const int64_t start = std::clamp<int64_t>(startFrame, 0, frames);
    const int64_t end = std::clamp<int64_t>(endFrame, start, frames);
    TPeakRegrid grid(channels);
    grid.Append(old, 0, start);
    grid.Append(insert, 0, insertFrames);
    grid.Append(old, end, frames - end);
    return grid.Take();
}

Tindexdata TPeakBookkeeping::Range(const Tindexdata& index, int32_t channels, int64_t first,
                                   int64_t last) {
    TPeakRegrid grid(channels);
    grid.Append(index, first, last - first);
    return grid.Take();
}

Tindexdata TPeakBookkeeping::Reverse(const Tindexdata& index, int64_t frames, int32_t channels) {
    TPeakRegrid grid(channels);
    grid.Append(index, 0, frames, true);
    return grid.Take();
}

Tindexdata TPeakBookkeeping::Replace(const Tindexdata& old, int32_t channels,
                                     const Tindexdata& part, int64_t startFrame) {
    Tindexdata result = old;
    const int64_t h = std::max<int64_t>(startFrame, 0) / IndexBlockFrames * channels;
    for (size_t j = 0; j < part.size(); ++j) {
        const int64_t at = h + static_cast<int64_t>(j);
        if (at >= static_cast<int64_t>(result.size()))
            break;
        result[static_cast<size_t>(at)] = part[j];
    }
    return result;
}
