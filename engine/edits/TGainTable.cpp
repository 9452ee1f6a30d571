#include "TGainTable.h"

#include <algorithm>
#include <cmath>

void TGainTable::Build(float gain, std::vector<int16_t>& table) {
    table.resize(Entries);
    for (int32_t v = -32768; v <= 32767; ++v) {
        // A 16-bit value times a single-precision gain is exact in double precision.
        const double product = double(v) * double(gain);
        const double rounded = std::clamp(std::nearbyint(product), -32767.0, 32767.0);
        table[size_t(v + 32768)] = static_cast<int16_t>(rounded);
    }
}

float TGainTable::NormalizeGain(int32_t percent, int16_t peak) {
    return static_cast<float>(static_cast<long double>(percent) / 100.0L * 32768.0L /
                              static_cast<long double>(peak));
}

float TGainTable::AmplifyGain(int32_t percent) {
    return static_cast<float>(static_cast<long double>(percent) / 100.0L);
}
