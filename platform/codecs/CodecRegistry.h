#pragma once

#include "IAudioCodec.h"

#include <memory>
#include <vector>

/// The codecs that the audio-compression layer offers, in the order the format chooser lists
/// them. Built once; read from any thread.
class CodecRegistry {
public:
    static const CodecRegistry& Instance();

    /// The codec of a format tag, or null.
    const IAudioCodec* Find(uint16_t formatTag) const;
    const std::vector<std::unique_ptr<IAudioCodec>>& Codecs() const { return List; }

private:
    CodecRegistry();

    std::vector<std::unique_ptr<IAudioCodec>> List;
};
