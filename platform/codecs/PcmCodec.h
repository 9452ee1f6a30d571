#pragma once

#include "IAudioCodec.h"

/// Uncompressed PCM: 8-bit unsigned and 16, 24 and 32-bit signed samples, mono or stereo (or the
/// source's own channel count), at the common rates and the source's own rate. Converts channels
/// and rate through SampleRateConverter and then the sample width.
class PcmCodec : public IAudioCodec {
public:
    uint16_t FormatTag() const override { return WAVE_FORMAT_PCM; }
    std::string Name() const override { return "PCM"; }
    uint32_t LargestFormatSize() const override { return 16; }
    std::vector<WaveFormatBlock> TargetsFor(const WAVEFORMATEX& source) const override;
    std::unique_ptr<IStreamConverter> Open(const WAVEFORMATEX& source,
                                           const uint8_t* target) const override;

    /// True for 16-bit PCM with 1 to 8 channels: the only source the registry converts from.
    static bool IsSource(const WAVEFORMATEX& format);
    /// A PCM format record for the rate, channels and bits per sample.
    static WAVEFORMATEX Format(uint32_t rate, uint32_t channels, uint32_t bits);
};
