#pragma once

#include "IBlockEncoder.h"

#include <cstddef>

/// The block loop shared by the ADPCM encoders: every block of FramesPerBlock interleaved frames
/// becomes BlockAlign bytes through EncodeBlock. One object serves one stream.
class AdpcmEncoder : public IBlockEncoder {
public:
    AdpcmEncoder(uint32_t channels, uint32_t blockAlign)
        : Channels(channels)
        , Align(blockAlign) {}
    uint32_t BlockAlign() const override { return Align; }
    void Encode(const int16_t* frames, uint32_t blocks, uint8_t* out) override {
        for (uint32_t b = 0; b < blocks; ++b)
            EncodeBlock(frames + size_t(b) * FramesPerBlock() * Channels, out + size_t(b) * Align);
    }

protected:
    /// Encodes one block of FramesPerBlock frames into BlockAlign bytes at `out`.
    virtual void EncodeBlock(const int16_t* frames, uint8_t* out) = 0;

    const uint32_t Channels;
    const uint32_t Align;
};
