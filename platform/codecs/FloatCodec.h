#pragma once

#include "BlockCodec.h"

/// IEEE 32-bit float samples: each 16-bit sample s becomes s / 32768.
class FloatCodec : public BlockCodec {
public:
    uint16_t FormatTag() const override { return WAVE_FORMAT_IEEE_FLOAT; }
    std::string Name() const override { return "IEEE Float"; }
    uint32_t LargestFormatSize() const override { return 18; }

protected:
    bool Supports(uint32_t channels) const override;
    WaveFormatBlock TargetFormat(uint32_t rate, uint32_t channels) const override;
    std::unique_ptr<IBlockEncoder> MakeEncoder(const WAVEFORMATEX& target) const override;
};
