#pragma once

#include "TIndexAllocator.h"

#include <cstdint>
#include <vector>

/// The peak index of a document: one element per channel per block of 512 frames, element
/// block × channels + channel. Each element holds the block's maximum in its low signed 16-bit
/// half and its minimum in its high half. A partial last block counts as a block.
using Tindexdata = std::vector<uint32_t, TIndexAllocator<uint32_t>>;

/// Frames summarised by one index block.
constexpr int64_t IndexBlockFrames = 512;

/// Packs a block's maximum and minimum into one index element.
constexpr uint32_t MakeIndexElement(int16_t maximum, int16_t minimum) {
    return uint32_t(uint16_t(maximum)) | (uint32_t(uint16_t(minimum)) << 16);
}

constexpr int16_t IndexMaximum(uint32_t element) {
    return int16_t(uint16_t(element & 0xFFFF));
}
constexpr int16_t IndexMinimum(uint32_t element) {
    return int16_t(uint16_t(element >> 16));
}

/// The magnitude of a sample for peak purposes: −32768 counts as 32767, so that a peak always fits
/// a signed 16-bit value and levels never pass 0 dB.
constexpr int16_t PeakMagnitude(int16_t sample) {
    return sample < 0 ? (sample == -32768 ? int16_t(32767) : int16_t(-sample)) : sample;
}
