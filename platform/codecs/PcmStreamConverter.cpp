#include "PcmStreamConverter.h"

#include "AcmTypes.h"

#include <algorithm>
#include <cstring>

PcmStreamConverter::PcmStreamConverter(const WAVEFORMATEX& source, const WAVEFORMATEX& target)
    : Source(source)
    , Target(target)
    , Copy(source.nSamplesPerSec == target.nSamplesPerSec && source.nChannels == target.nChannels &&
           target.wBitsPerSample == 16)
    , TargetSampleBytes(target.wBitsPerSample / 8u) {
    if (!Copy)
        Converter = std::make_unique<SampleRateConverter>(
            source.nSamplesPerSec, target.nSamplesPerSec, source.nChannels, target.nChannels);
}

uint64_t PcmStreamConverter::DestinationSize(uint64_t sourceBytes) const {
    const uint64_t frames = sourceBytes / Source.nBlockAlign;
    if (Copy)
        return frames * Target.nBlockAlign;
    return Converter->MaxOutputBytes(frames * Source.nBlockAlign) / 2 * TargetSampleBytes;
}

bool PcmStreamConverter::Convert(const uint8_t* source, uint32_t sourceLength, uint8_t* destination,
                                 uint32_t destinationLength, uint32_t flags, uint32_t& sourceUsed,
                                 uint32_t& destinationUsed) {
    const uint32_t frames = sourceLength / Source.nBlockAlign;
    if (Copy) {
        const uint32_t taken = std::min(frames, destinationLength / Target.nBlockAlign);
        if (taken > 0)
            std::memcpy(destination, source, size_t(taken) * Target.nBlockAlign);
        sourceUsed = taken * Source.nBlockAlign;
        destinationUsed = taken * Target.nBlockAlign;
        return true;
    }
    const uint32_t room = destinationLength / Target.nBlockAlign * Target.nChannels * 2;
    Converted.resize(room / 2);
    auto* out = reinterpret_cast<uint8_t*>(Converted.data());
    sourceUsed = frames * Source.nBlockAlign;
    int32_t got = Converter->Process(source, int32_t(sourceUsed), out, int32_t(room));
    if (flags & ACM_STREAMCONVERTF_END) {
        while (uint32_t(got) < room) {
            const int32_t more = Converter->Flush(out + got, int32_t(room) - got);
            if (more <= 0)
                break;
            got += more;
        }
    }
    Widen(Converted.data(), size_t(got) / 2, destination);
    destinationUsed = uint32_t(got) / 2 * TargetSampleBytes;
    return true;
}

void PcmStreamConverter::Widen(const int16_t* samples, size_t count, uint8_t* destination) const {
    switch (TargetSampleBytes) {
    case 1:
        for (size_t i = 0; i < count; ++i)
            destination[i] = uint8_t((samples[i] >> 8) + 128);
        break;
    case 2:
        if (count > 0)
            std::memcpy(destination, samples, count * 2);
        break;
    default:
        for (size_t i = 0; i < count; ++i) {
            uint8_t* out = destination + i * TargetSampleBytes;
            std::memset(out, 0, TargetSampleBytes - 2);
            out[TargetSampleBytes - 2] = uint8_t(samples[i] & 0xFF);
            out[TargetSampleBytes - 1] = uint8_t(uint16_t(samples[i]) >> 8);
        }
    }
}
