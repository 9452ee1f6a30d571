#pragma once

#include "BlockCodec.h"

/// GSM 6.10 full-rate speech coding through libgsm, in the WAV49 layout: mono only, blocks of 65
/// bytes holding two 160-sample frames (320 samples).
class GsmCodec : public BlockCodec {
public:
    uint16_t FormatTag() const override { return WAVE_FORMAT_GSM610; }
    std::string Name() const override { return "GSM 6.10"; }
    uint32_t LargestFormatSize() const override { return 20; }

protected:
    bool Supports(uint32_t channels) const override;
    WaveFormatBlock TargetFormat(uint32_t rate, uint32_t channels) const override;
    std::unique_ptr<IBlockEncoder> MakeEncoder(const WAVEFORMATEX& target) const override;
};
