#pragma once

#include "Tindexdata.h"

#include <array>
#include <cstdint>
#include <span>

/// The two values that one pixel column of the zoomed-out waveform joins with a vertical line, per
/// channel (at most 8): `First` is drawn first, `Second` last and the next column starts from it.
/// From samples the maximum always comes first; from the peak index the values come in the order
/// in which they occur. Frames and blocks past the end of the data take no part; `Any` is false
/// when none of the column lay inside the document.
class TWaveColumn {
public:
    static constexpr int32_t MaxChannels = 8;

    /// Frames first … first + count − 1 (only those that `samples` holds) of the interleaved
    /// samples of `channels` channels.
    static TWaveColumn FromSamples(std::span<const int16_t> samples, uint64_t first, uint64_t count,
                                   int32_t channels);
    /// Blocks block … block + count − 1 (only those inside the index) of a peak index.
    static TWaveColumn FromPeaks(const Tindexdata& index, uint64_t block, uint64_t count,
                                 int32_t channels);

    std::array<int32_t, MaxChannels> First{};
    std::array<int32_t, MaxChannels> Second{};
    bool Any = false;

private:
    /// Samples scanned side by side; a multiple of every channel count that divides it.
    static constexpr int32_t Lanes = 16;
    /// Widens `column` to the maxima and minima of `count` interleaved samples of whole frames,
    /// for a channel count of at most `MaxChannels` that divides `Lanes`.
    static void ScanInLanes(const int16_t* samples, uint64_t count, int32_t channels,
                            TWaveColumn& column);
};
