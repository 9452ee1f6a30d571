#include "TFilter.h"

#include "AppServices.h"
#include "Simd.h"

#include <algorithm>
#include <stdexcept>

TFilter::TFilter(int32_t channels) {
    if (channels < 1 || channels > 65535)
        throw std::invalid_argument("TFilter: a stream has 1 to 65535 channels");
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
        // Whole blocks that more of these samples follow would be closed at once anyway: close
        // them straight from the caller's data instead of copying them first.
        while (Fed == 0 && count - done > Capacity) {
            CloseBlock(samples + done, Capacity);
            done += Capacity;
        }
        const int32_t k = static_cast<int32_t>(std::min<int64_t>(Capacity - Fed, count - done));
        std::copy_n(samples + done, k, Buffer.begin() + Fed);
        done += k;
        Fed += k;
    }
}

void TFilter::BlockMinMax(const int16_t* data, int32_t frames) {
    if (ChannelCount == 1) {
        MinMaxMono(data, frames, BlockMin[0], BlockMax[0]);
        return;
    }
    if (ChannelCount == 2) {
        MinMaxStereo(data, 2 * frames, BlockMin[0], BlockMax[0], BlockMin[1], BlockMax[1]);
        return;
    }
    std::fill(BlockMin.begin(), BlockMin.end(), int16_t(0));
    std::fill(BlockMax.begin(), BlockMax.end(), int16_t(0));
    for (int32_t f = 0; f < frames; ++f)
        for (int32_t c = 0; c < ChannelCount; ++c) {
            const int16_t s = data[f * ChannelCount + c];
            BlockMax[c] = std::max(BlockMax[c], s);
            BlockMin[c] = std::min(BlockMin[c], s);
        }
}

void TFilter::ProcessBlock() {
    CloseBlock(Buffer.data(), Fed);
}

void TFilter::CloseBlock(const int16_t* data, int32_t samples) {
    Count += ChannelCount;
    Index.resize(Count);
    Frames = samples / ChannelCount;
    BlockMinMax(data, std::min(Frames, static_cast<int32_t>(IndexBlockFrames)));
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
