#pragma once

#include <cstdint>

/// Encodes 16-bit PCM in fixed blocks: FramesPerBlock interleaved frames in, BlockAlign bytes
/// out. An encoder may carry state from block to block; one object serves one stream.
class IBlockEncoder {
public:
    virtual ~IBlockEncoder() = default;

    virtual uint32_t FramesPerBlock() const = 0;
    virtual uint32_t BlockAlign() const = 0;
    /// Encodes `blocks` whole blocks from `frames` into `out`.
    virtual void Encode(const int16_t* frames, uint32_t blocks, uint8_t* out) = 0;
};
