#pragma once

#include "BlockCodec.h"

/// The two G.711 logarithmic 8-bit codecs, A-law and mu-law (chosen by format tag). The 16-bit
/// sample is rounded to 13 bits (A-law) or 14 bits (mu-law) before it is encoded.
class G711Codec : public BlockCodec {
public:
    /// `formatTag` is WAVE_FORMAT_ALAW or WAVE_FORMAT_MULAW.
    explicit G711Codec(uint16_t formatTag);
    uint16_t FormatTag() const override { return Tag; }
    std::string Name() const override;
    uint32_t LargestFormatSize() const override { return 18; }

    /// One sample in each law.
    static uint8_t ALaw(int16_t sample);
    static uint8_t MuLaw(int16_t sample);

protected:
    bool Supports(uint32_t channels) const override;
    WaveFormatBlock TargetFormat(uint32_t rate, uint32_t channels) const override;
    std::unique_ptr<IBlockEncoder> MakeEncoder(const WAVEFORMATEX& target) const override;

private:
    uint16_t Tag;
};
