#pragma once

#include "BlockCodec.h"

/// IMA ADPCM (4 bits per sample) in the WAV block layout: per channel a header with the first
/// sample and the step index, then the other samples in groups of eight per channel. Blocks are
/// 256 bytes per channel up to 11,025 Hz and grow with the rate (1024 per channel at 44,100 Hz).
class ImaAdpcmCodec : public BlockCodec {
public:
    uint16_t FormatTag() const override { return WAVE_FORMAT_IMA_ADPCM; }
    std::string Name() const override { return "IMA ADPCM"; }
    uint32_t LargestFormatSize() const override { return 20; }

    /// Bytes per block for a rate and channel count.
    static uint32_t BlockAlignFor(uint32_t rate, uint32_t channels);

protected:
    bool Supports(uint32_t channels) const override;
    WaveFormatBlock TargetFormat(uint32_t rate, uint32_t channels) const override;
    std::unique_ptr<IBlockEncoder> MakeEncoder(const WAVEFORMATEX& target) const override;
};
