#include "BlockCodec.h"

#include "BlockStreamConverter.h"
#include "PcmCodec.h"

#include <cstring>

std::vector<WaveFormatBlock> BlockCodec::TargetsFor(const WAVEFORMATEX& source) const {
    if (!PcmCodec::IsSource(source) || !Supports(source.nChannels))
        return {};
    return {TargetFormat(source.nSamplesPerSec, source.nChannels)};
}

std::unique_ptr<IStreamConverter> BlockCodec::Open(const WAVEFORMATEX& source,
                                                   const uint8_t* target) const {
    if (!PcmCodec::IsSource(source) || !Supports(source.nChannels))
        return nullptr;
    const WaveFormatBlock offered = TargetFormat(source.nSamplesPerSec, source.nChannels);
    const WAVEFORMATEX format = ReadWaveFormat(offered.data());
    const WAVEFORMATEX asked = ReadWaveFormat(target);
    // The average byte rate is only informative; everything else must match.
    const bool same =
        asked.wFormatTag == format.wFormatTag && asked.nChannels == format.nChannels &&
        asked.nSamplesPerSec == format.nSamplesPerSec && asked.nBlockAlign == format.nBlockAlign &&
        asked.wBitsPerSample == format.wBitsPerSample && asked.cbSize == format.cbSize &&
        std::memcmp(offered.data() + sizeof format, target + sizeof format, format.cbSize) == 0;
    if (!same)
        return nullptr;
    return std::make_unique<BlockStreamConverter>(source.nChannels, MakeEncoder(format));
}
