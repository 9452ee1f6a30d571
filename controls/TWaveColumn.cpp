#include "TWaveColumn.h"

#include <algorithm>

void TWaveColumn::ScanInLanes(const int16_t* samples, uint64_t count, int32_t channels,
                              TWaveColumn& column) {
    // Lane j of the scan sees only channel j mod channels, as every group of `Lanes` samples
    // holds whole frames.
    int16_t maximum[Lanes];
    int16_t minimum[Lanes];
    for (size_t j = 0; j < Lanes; ++j) {
        maximum[j] = -32768;
        minimum[j] = 32767;
    }
    uint64_t n = 0;
    for (; n + Lanes <= count; n += Lanes)
        for (size_t j = 0; j < Lanes; ++j) {
            const int16_t s = samples[n + j];
            maximum[j] = s > maximum[j] ? s : maximum[j];
            minimum[j] = s < minimum[j] ? s : minimum[j];
        }
    for (size_t j = 0; n + j < count; ++j) {
        maximum[j] = std::max(maximum[j], samples[n + j]);
        minimum[j] = std::min(minimum[j], samples[n + j]);
    }
    for (size_t j = 0; j < Lanes; ++j) {
        const size_t i = j % size_t(channels);
        column.First[i] = std::max<int32_t>(column.First[i], maximum[j]);
        column.Second[i] = std::min<int32_t>(column.Second[i], minimum[j]);
    }
}

TWaveColumn TWaveColumn::FromSamples(std::span<const int16_t> samples, uint64_t first,
                                     uint64_t count, int32_t channels) {
    TWaveColumn column;
    column.First.fill(-32768);
    column.Second.fill(32767);
    if (channels <= 0)
        return column;
    const uint64_t stride = uint64_t(channels);
    const uint64_t end = std::min(first + count, samples.size() / stride);
    if (first >= end)
        return column;
    column.Any = true;
    const int32_t lanes = std::min(channels, MaxChannels);
    if (channels <= MaxChannels && Lanes % channels == 0) {
        ScanInLanes(samples.data() + first * stride, (end - first) * stride, channels, column);
        return column;
    }
    for (int32_t i = 0; i < lanes; ++i) {
        const int16_t* sample = samples.data() + first * stride + uint64_t(i);
        int16_t maximum = -32768;
        int16_t minimum = 32767;
        for (uint64_t frame = first; frame < end; ++frame, sample += stride) {
            maximum = std::max(maximum, *sample);
            minimum = std::min(minimum, *sample);
        }
        column.First[size_t(i)] = maximum;
        column.Second[size_t(i)] = minimum;
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
