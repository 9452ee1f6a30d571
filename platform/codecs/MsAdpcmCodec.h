#pragma once

#include "BlockCodec.h"

/// Microsoft ADPCM (4 bits per sample) with the seven standard predictor coefficient pairs. Each
/// block starts per channel with the predictor, the step and two plain samples; the encoder
/// picks for each block and channel the predictor and starting step that fit the samples best.
/// Block sizes as for IMA ADPCM.
class MsAdpcmCodec : public BlockCodec {
public:
    uint16_t FormatTag() const override { return WAVE_FORMAT_ADPCM; }
    std::string Name() const override { return "Microsoft ADPCM"; }
    uint32_t LargestFormatSize() const override { return 50; }

protected:
    bool Supports(uint32_t channels) const override;
    WaveFormatBlock TargetFormat(uint32_t rate, uint32_t channels) const override;
    std::unique_ptr<IBlockEncoder> MakeEncoder(const WAVEFORMATEX& target) const override;
};
