#include "BitrateTables.h"

#include <cstddef>

namespace {

/// The table for `sampleRate` and the index of its first offered entry; nullptr for other rates.
const std::array<int32_t, 14>* TableFor(int32_t sampleRate, int32_t& first) {
    first = 0;
    switch (sampleRate) {
    case 32000:
    case 44100:
    case 48000:
        return &HighRateBitrates;
    case 16000:
    case 22050:
        return &LowRateBitrates;
    case 8000:
    case 11025:
        first = 2;
        return &LowRateBitrates;
    default:
        return nullptr;
    }
}

} // namespace

std::vector<int32_t> BitrateListFor(int32_t sampleRate) {
    int32_t first;
    const auto* table = TableFor(sampleRate, first);
    if (!table)
        return {};
    return {table->begin() + first, table->end()};
}

int32_t BitrateKbps(int32_t sampleRate, int32_t itemIndex) {
    constexpr int32_t Fallback = 128;
    int32_t first;
    const auto* table = TableFor(sampleRate, first);
    if (!table || itemIndex < 0 || itemIndex + first >= int32_t(table->size()))
        return Fallback;
    return (*table)[std::size_t(itemIndex + first)];
}
