#include "PcmCodec.h"

#include "PcmStreamConverter.h"
#include "SampleRateRange.h"

#include <set>

namespace {

constexpr uint32_t CommonRates[] = {8000, 11025, 16000, 22050, 32000, 44100, 48000, 88200, 96000};
constexpr uint32_t SampleBits[] = {8, 16, 24, 32};

bool RateInRange(uint32_t rate) {
    return rate >= MinSampleRate && rate <= MaxSampleRate;
}

} // namespace

bool PcmCodec::IsSource(const WAVEFORMATEX& format) {
    return format.wFormatTag == WAVE_FORMAT_PCM && format.wBitsPerSample == 16 &&
           format.nChannels >= 1 && format.nChannels <= 8 && RateInRange(format.nSamplesPerSec) &&
           format.nBlockAlign == 2 * format.nChannels;
}

WAVEFORMATEX PcmCodec::Format(uint32_t rate, uint32_t channels, uint32_t bits) {
    return MakeSampleFormat(WAVE_FORMAT_PCM, rate, channels, bits);
}

std::vector<WaveFormatBlock> PcmCodec::TargetsFor(const WAVEFORMATEX& source) const {
    std::vector<WaveFormatBlock> targets;
    if (!IsSource(source))
        return targets;
    std::set<uint32_t> rates(std::begin(CommonRates), std::end(CommonRates));
    rates.insert(source.nSamplesPerSec);
    std::set<uint32_t> channels = {1, 2, source.nChannels};
    for (const uint32_t rate : rates)
        for (const uint32_t bits : SampleBits)
            for (const uint32_t count : channels)
                targets.push_back(MakeFormatBlock(Format(rate, count, bits)));
    return targets;
}

std::unique_ptr<IStreamConverter> PcmCodec::Open(const WAVEFORMATEX& source,
                                                 const uint8_t* target) const {
    const WAVEFORMATEX format = ReadWaveFormat(target);
    const bool bitsOffered = format.wBitsPerSample == 8 || format.wBitsPerSample == 16 ||
                             format.wBitsPerSample == 24 || format.wBitsPerSample == 32;
    if (!IsSource(source) || format.wFormatTag != WAVE_FORMAT_PCM || !bitsOffered ||
        format.nChannels < 1 || format.nChannels > 8 || !RateInRange(format.nSamplesPerSec) ||
        format.nBlockAlign != format.wBitsPerSample / 8 * format.nChannels)
        return nullptr;
    return std::make_unique<PcmStreamConverter>(source, format);
}
