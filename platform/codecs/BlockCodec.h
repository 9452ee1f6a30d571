#pragma once

#include "IAudioCodec.h"
#include "IBlockEncoder.h"

/// A compressed codec of fixed blocks: it takes 16-bit PCM at the source's own rate and channel
/// count and offers one format for it, when it can encode that channel count.
class BlockCodec : public IAudioCodec {
public:
    std::vector<WaveFormatBlock> TargetsFor(const WAVEFORMATEX& source) const override;
    /// Opens only when `target` is the format this codec offers for `source` (its average byte
    /// rate aside).
    std::unique_ptr<IStreamConverter> Open(const WAVEFORMATEX& source,
                                           const uint8_t* target) const override;

protected:
    /// True when the codec encodes this many channels.
    virtual bool Supports(uint32_t channels) const = 0;
    /// The format record for a rate and channel count.
    virtual WaveFormatBlock TargetFormat(uint32_t rate, uint32_t channels) const = 0;
    virtual std::unique_ptr<IBlockEncoder> MakeEncoder(const WAVEFORMATEX& target) const = 0;
};
