#pragma once

#include "AcmTypes.h"
#include "IStreamConverter.h"

#include <memory>
#include <string>
#include <vector>

/// One entry of the codec registry: a wave format tag with the formats it makes from 16-bit PCM
/// and the streams that make them. Codecs keep no state; streams do.
class IAudioCodec {
public:
    virtual ~IAudioCodec() = default;

    virtual uint16_t FormatTag() const = 0;
    /// The name shown in the format chooser, such as "PCM" or "IMA ADPCM".
    virtual std::string Name() const = 0;
    /// The size of this tag's largest format record ("fmt " chunk size); 16 for PCM.
    virtual uint32_t LargestFormatSize() const = 0;
    /// The formats of this tag that `source` (16-bit PCM) converts to, best first.
    virtual std::vector<WaveFormatBlock> TargetsFor(const WAVEFORMATEX& source) const = 0;
    /// A stream from `source` to the format record `target`, or null when this codec cannot
    /// convert between them.
    virtual std::unique_ptr<IStreamConverter> Open(const WAVEFORMATEX& source,
                                                   const uint8_t* target) const = 0;
};
