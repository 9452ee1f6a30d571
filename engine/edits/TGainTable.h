#pragma once

#include <cstdint>
#include <vector>

/// The lookup table of the gain edit: the output for every 16-bit input sample, so that the edit
/// costs one lookup per sample.
class TGainTable {
public:
    static constexpr int32_t Entries = 65536;

    /// Fills `table` with 65536 entries: entry v + 32768 is v × gain rounded to the nearest integer
    /// (ties to even) and clipped to −32767 … 32767. A gain of 1 therefore turns −32768 into
    /// −32767 and keeps every other value.
    static void Build(float gain, std::vector<int16_t>& table);

    /// The gain of normalising to `percent` of full scale: percent / 100 × 32768 / peak, computed
    /// in extended precision; `peak` ≥ 1.
    static float NormalizeGain(int32_t percent, int16_t peak);
    /// The gain of amplifying by `percent`: percent / 100, computed in extended precision.
    static float AmplifyGain(int32_t percent);
};
