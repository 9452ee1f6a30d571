#include "BlockStreamConverter.h"

#include "AcmTypes.h"

#include <algorithm>
#include <cstring>

namespace {

/// Blocks encoded per pass through the aligned work buffer.
constexpr uint32_t PassFrames = 8192;

} // namespace

BlockStreamConverter::BlockStreamConverter(uint32_t channels,
                                           std::unique_ptr<IBlockEncoder> encoder)
    : FrameBytes(2 * channels)
    , Encoder(std::move(encoder)) {}

uint64_t BlockStreamConverter::DestinationSize(uint64_t sourceBytes) const {
    const uint64_t frames = sourceBytes / FrameBytes;
    const uint64_t perBlock = Encoder->FramesPerBlock();
    return (frames + perBlock - 1) / perBlock * Encoder->BlockAlign();
}

bool BlockStreamConverter::Convert(const uint8_t* source, uint32_t sourceLength,
                                   uint8_t* destination, uint32_t destinationLength, uint32_t flags,
                                   uint32_t& sourceUsed, uint32_t& destinationUsed) {
    const uint32_t perBlock = Encoder->FramesPerBlock();
    const uint32_t blockBytes = Encoder->BlockAlign();
    const uint32_t frames = sourceLength / FrameBytes;
    const uint32_t room = destinationLength / blockBytes;
    const uint32_t whole = std::min(frames / perBlock, room);
    const uint32_t passBlocks = std::max(PassFrames / perBlock, 1u);
    sourceUsed = 0;
    destinationUsed = 0;
    for (uint32_t done = 0; done < whole;) {
        const uint32_t blocks = std::min(passBlocks, whole - done);
        Work.resize(size_t(blocks) * perBlock * FrameBytes / 2);
        std::memcpy(Work.data(), source + sourceUsed, Work.size() * 2);
        Encoder->Encode(Work.data(), blocks, destination + destinationUsed);
        sourceUsed += blocks * perBlock * FrameBytes;
        destinationUsed += blocks * blockBytes;
        done += blocks;
    }
    const uint32_t rest = frames - whole * perBlock;
    if ((flags & ACM_STREAMCONVERTF_END) && rest > 0 && rest < perBlock && whole < room) {
        Work.assign(size_t(perBlock) * FrameBytes / 2, 0);
        std::memcpy(Work.data(), source + sourceUsed, size_t(rest) * FrameBytes);
        Encoder->Encode(Work.data(), 1, destination + destinationUsed);
        sourceUsed += rest * FrameBytes;
        destinationUsed += blockBytes;
    }
    return true;
}
