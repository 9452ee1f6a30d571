#include "TFilter.h"

#include "AppServices.h"
#include "Simd.h"

#include <algorithm>
#include <stdexcept>

TFilter::TFilter(int32_t channels) {
    if (channels < 1)
        throw std::invalid_argument("TFilter: a stream has at least one channel");
    ChannelCount = channels;
    Capacity = channels * static_cast<int32_t>(IndexBlockFrames);
    BlockMin.resize(channels);
    BlockMax.resize(channels);
    Reset();
}

void TFilter::Reset() {
    Count = 0;
    Index.clear();
    Fed = 0;
    Peaks.assign(ChannelCount, 0);
    Frames = 0;
    Buffer.resize(Capacity);
}

void TFilter::Feed(const int16_t* samples, int64_t count) {
    int64_t done = 0;
    while (done < count) {
        // A full block is closed only when more samples arrive, so the last one is always closed
        // by GetIndexData.
        if (Fed == Capacity) {
            ProcessBlock();
            Fed = 0;
        }
        const int32_t k = static_cast<int32_t>(std::min<int64_t>(Capacity - Fed, count - done));
        std::copy_n(samples + done, k, Buffer.begin() + Fed);
        done += k;
        Fed += k;
    }
}

void TFilter::BlockMinMax(int32_t frames, int16_t* min, int16_t* max) const {
    const int16_t* data = Buffer.data();
    if (ChannelCount == 1) {
        MinMaxMono(data, frames, min[0], max[0]);
        return;
    }
    if (ChannelCount == 2) {
        MinMaxStereo(data, 2 * frames, min[0], max[0], min[1], max[1]);
        return;
    }
    std::fill_n(min, ChannelCount, int16_t(0));
    std::fill_n(max, ChannelCount, int16_t(0));
    for (int32_t f = 0; f < frames; ++f)
        for (int32_t c = 0; c < ChannelCount; ++c) {
            const int16_t s = data[f * ChannelCount + c];
            max[c] = std::max(max[c], s);
            min[c] = std::min(min[c], s);
        }
}

void TFilter::ProcessBlock() {
    Count += ChannelCount;
    Index.resize(Count);
    Frames = Fed / ChannelCount;
    const int32_t n = std::min(Frames, static_cast<int32_t>(IndexBlockFrames));
    BlockMinMax(n, BlockMin.data(), BlockMax.data());
    for (int32_t c = 0; c < ChannelCount; ++c) {
        const int16_t max = BlockMax[c];
        const int16_t min = BlockMin[c];
        Peaks[c] = std::max({PeakMagnitude(max), PeakMagnitude(min), Peaks[c]});
        Index[Count - ChannelCount + c] = MakeIndexElement(max, min);
    }
}

void TFilter::GetIndexData(Tindexdata& index) {
    ProcessBlock();
    index.assign(Index.begin(), Index.begin() + Count);
}

void TFilter::GetLevels(std::span<int16_t> peaks, int16_t& peak, double& db) {
    const size_t shared = std::min(peaks.size(), Peaks.size());
    std::copy_n(Peaks.begin(), shared, peaks.begin());
    for (int16_t p : Peaks)
        Peak = std::max<int32_t>(Peak, p);
    peak = static_cast<int16_t>(Peak);
    Db = AmplitudeToDb(Peak);
    db = Db;
}
