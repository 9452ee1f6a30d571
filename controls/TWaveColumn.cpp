#include "TWaveColumn.h"

#include "TLargeFile.h"

#include <algorithm>

TWaveColumn TWaveColumn::FromSamples(TLargeFile& table, uint64_t frames, uint64_t first,
                                     uint64_t count, int32_t channels) {
    TWaveColumn column;
    const int32_t lanes = std::min(channels, MaxChannels);
    column.First.fill(-32768);
    column.Second.fill(32767);
    for (uint64_t frame = first; frame < first + count && frame < frames; ++frame) {
        column.Any = true;
        for (int32_t i = 0; i < lanes; ++i) {
            const int32_t s = table.ReadAt(int64_t((frame * uint64_t(channels) + uint64_t(i)) * 2));
            if (s > column.First[size_t(i)])
                column.First[size_t(i)] = s;
            if (s < column.Second[size_t(i)])
                column.Second[size_t(i)] = s;
        }
    }
    return column;
}

TWaveColumn TWaveColumn::FromPeaks(const Tindexdata& index, uint64_t block, uint64_t count,
                                   int32_t channels) {
    TWaveColumn column;
    const int32_t lanes = std::min(channels, MaxChannels);
    std::array<int32_t, MaxChannels> maximum, minimum;
    std::array<uint64_t, MaxChannels> maxAt{}, minAt{};
    maximum.fill(-32768);
    minimum.fill(32767);
    for (uint64_t n = 0; n < count; ++n) {
        const uint64_t element = (block + n) * uint64_t(channels);
        if (element + uint64_t(channels) > index.size())
            break;
        column.Any = true;
        for (int32_t i = 0; i < lanes; ++i) {
            const uint32_t value = index[element + uint64_t(i)];
            if (IndexMaximum(value) > maximum[size_t(i)]) {
                maximum[size_t(i)] = IndexMaximum(value);
                maxAt[size_t(i)] = n;
            }
            if (IndexMinimum(value) < minimum[size_t(i)]) {
                minimum[size_t(i)] = IndexMinimum(value);
                minAt[size_t(i)] = n;
            }
        }
    }
    for (int32_t i = 0; i < lanes; ++i) {
        const bool maximumLater = maxAt[size_t(i)] > minAt[size_t(i)];
        column.First[size_t(i)] = maximumLater ? minimum[size_t(i)] : maximum[size_t(i)];
        column.Second[size_t(i)] = maximumLater ? maximum[size_t(i)] : minimum[size_t(i)];
    }
    return column;
}
