#include "CodecRegistry.h"

#include "FloatCodec.h"
#include "G711Codec.h"
#include "GsmCodec.h"
#include "ImaAdpcmCodec.h"
#include "MsAdpcmCodec.h"
#include "PcmCodec.h"

const CodecRegistry& CodecRegistry::Instance() {
    static const CodecRegistry registry;
    return registry;
}

CodecRegistry::CodecRegistry() {
    List.push_back(std::make_unique<PcmCodec>());
    List.push_back(std::make_unique<FloatCodec>());
    List.push_back(std::make_unique<G711Codec>(WAVE_FORMAT_ALAW));
    List.push_back(std::make_unique<G711Codec>(WAVE_FORMAT_MULAW));
    List.push_back(std::make_unique<ImaAdpcmCodec>());
    List.push_back(std::make_unique<MsAdpcmCodec>());
    List.push_back(std::make_unique<GsmCodec>());
}

const IAudioCodec* CodecRegistry::Find(uint16_t formatTag) const {
    for (const auto& codec : List)
        if (codec->FormatTag() == formatTag)
            return codec.get();
    return nullptr;
}
