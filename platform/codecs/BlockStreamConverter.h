#pragma once

#include "IBlockEncoder.h"
#include "IStreamConverter.h"

#include <memory>
#include <vector>

/// A stream into a compressed format of fixed blocks: whole blocks of source frames are encoded;
/// at the end of the stream a partial last block is padded with silence.
class BlockStreamConverter : public IStreamConverter {
public:
    BlockStreamConverter(uint32_t channels, std::unique_ptr<IBlockEncoder> encoder);

    uint64_t DestinationSize(uint64_t sourceBytes) const override;
    bool Convert(const uint8_t* source, uint32_t sourceLength, uint8_t* destination,
                 uint32_t destinationLength, uint32_t flags, uint32_t& sourceUsed,
                 uint32_t& destinationUsed) override;

private:
    uint32_t FrameBytes;
    std::unique_ptr<IBlockEncoder> Encoder;
    std::vector<int16_t> Work;
};
