#pragma once

#include <cstdint>

/// One open conversion stream of the audio-compression layer: turns 16-bit PCM source bytes into
/// the bytes of one target format. Made by an IAudioCodec; used by one thread at a time.
class IStreamConverter {
public:
    virtual ~IStreamConverter() = default;

    /// The most destination bytes that one conversion of `sourceBytes` source bytes can give,
    /// the end of the stream included.
    virtual uint64_t DestinationSize(uint64_t sourceBytes) const = 0;

    /// Converts from `source` into `destination` with the ACM_STREAMCONVERTF_* flags. Only
    /// whole source frames are taken, and whole target blocks are made; with the END flag a
    /// partial last block is padded with silence and whatever the stream still holds is given
    /// out, as far as the destination takes it (call again with END until it gives nothing).
    /// Sets the bytes used on each side; returns false when the conversion fails.
    virtual bool Convert(const uint8_t* source, uint32_t sourceLength, uint8_t* destination,
                         uint32_t destinationLength, uint32_t flags, uint32_t& sourceUsed,
                         uint32_t& destinationUsed) = 0;
};
