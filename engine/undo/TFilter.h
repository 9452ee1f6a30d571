#pragma once

#include "Tindexdata.h"

#include <cstdint>
#include <span>
#include <vector>

/// Builds a peak index and per-channel peak levels from interleaved 16-bit samples.
///
/// Create one per pass over a stream with the stream's channel count, hand it every sample in
/// order with `Feed` (in chunks of any size; the index does not depend on them), then take the
/// index once with `GetIndexData` and, if wanted, the levels with `GetLevels`. A stream of n ≥ 1
/// frames gives ⌈n / 512⌉ blocks; a partial last block counts as a block.
///
/// Per block and channel the element holds the maximum (starting from 0) and the minimum
/// (starting from 32767 for one or two channels, from 0 for three or more). A magnitude of
/// −32768 counts as 32767 in the peaks. Not thread-safe: one thread at a time.
class TFilter {
public:
    /// `channels` 1 … 65535; throws std::invalid_argument otherwise. Peaks are kept for every
    /// channel.
    explicit TFilter(int32_t channels);

    /// Starts a new index; `Peak` and `Db` keep their values.
    void Reset();

    /// Appends `count` interleaved samples to the stream.
    void Feed(const int16_t* samples, int64_t count);

    /// Closes the pending block: appends one element per channel and raises the peaks.
    void ProcessBlock();

    /// Closes the pending block and copies the whole index into `index`. Called once, after the
    /// last samples.
    void GetIndexData(Tindexdata& index);

    /// Copies the per-channel peaks (as many as both sides hold) into `peaks`, raises the overall
    /// peak with them and gives it with its level in decibels.
    void GetLevels(std::span<int16_t> peaks, int16_t& peak, double& db);

    int32_t Channels() const { return ChannelCount; }
    int32_t BlockCount() const { return ChannelCount == 0 ? 0 : Count / ChannelCount; }

private:
    /// Closes a block of `samples` interleaved samples at `data`.
    void CloseBlock(const int16_t* data, int32_t samples);
    void BlockMinMax(const int16_t* data, int32_t frames);

    std::vector<int16_t> Buffer;
    Tindexdata Index;
    int32_t Count = 0;
    int32_t ChannelCount = 0;
    int32_t Fed = 0;
    std::vector<int16_t> Peaks;
    int32_t Peak = 0;
    double Db = 0.0;
    int32_t Frames = 0;
    int32_t Capacity = 0;
    std::vector<int16_t> BlockMin; // scratch for ProcessBlock, one per channel
    std::vector<int16_t> BlockMax;
};
