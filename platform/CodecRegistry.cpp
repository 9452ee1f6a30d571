#include "CodecRegistry.h"

#include "PcmCodec.h"

const CodecRegistry& CodecRegistry::Instance() {
    static const CodecRegistry registry;
    return registry;
}

CodecRegistry::CodecRegistry() {
    List.push_back(std::make_unique<PcmCodec>());
}

const AudioCodec* CodecRegistry::Find(uint16_t formatTag) const {
    for (const auto& codec : List)
        if (codec->FormatTag() == formatTag)
            return codec.get();
    return nullptr;
}
