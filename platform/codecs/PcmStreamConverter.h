#pragma once

#include "IStreamConverter.h"
#include "SampleRateConverter.h"
#include "WaveFormat.h"

#include <memory>
#include <vector>

/// A PCM-to-PCM stream: 16-bit source frames go through channel and rate conversion, then to the
/// target's sample width (8-bit unsigned, 16, 24 or 32-bit signed). The same format on both
/// sides is a plain copy.
class PcmStreamConverter : public IStreamConverter {
public:
    PcmStreamConverter(const WAVEFORMATEX& source, const WAVEFORMATEX& target);

    uint64_t DestinationSize(uint64_t sourceBytes) const override;
    bool Convert(const uint8_t* source, uint32_t sourceLength, uint8_t* destination,
                 uint32_t destinationLength, uint32_t flags, uint32_t& sourceUsed,
                 uint32_t& destinationUsed) override;

private:
    void Widen(const int16_t* samples, size_t count, uint8_t* destination) const;

    WAVEFORMATEX Source, Target;
    bool Copy;
    uint32_t TargetSampleBytes;
    std::unique_ptr<SampleRateConverter> Converter;
    std::vector<int16_t> Converted;
};
