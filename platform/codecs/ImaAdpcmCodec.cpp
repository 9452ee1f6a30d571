#include "ImaAdpcmCodec.h"

#include "AdpcmEncoder.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int IndexTable[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
constexpr int StepTable[89] = {
    7,     8,     9,     10,    11,    12,    13,    14,    16,    17,    19,   21,    23,
    25,    28,    31,    34,    37,    41,    45,    50,    55,    60,    66,   73,    80,
    88,    97,    107,   118,   130,   143,   157,   173,   190,   209,   230,  253,   279,
    307,   337,   371,   408,   449,   494,   544,   598,   658,   724,   796,  876,   963,
    1060,  1166,  1282,  1411,  1552,  1707,  1878,  2066,  2272,  2499,  2749, 3024,  3327,
    3660,  4026,  4428,  4871,  5358,  5894,  6484,  7132,  7845,  8630,  9493, 10442, 11487,
    12635, 13899, 15289, 16818, 18500, 20350, 22385, 24623, 27086, 29794, 32767};

/// One channel's coder state.
struct ImaChannel {
    int Predictor = 0;
    int Index = 0;

    /// The nibble for `sample`; the state follows the decoder.
    uint8_t Encode(int sample) {
        const int step = StepTable[Index];
        int difference = sample - Predictor;
        uint8_t nibble = 0;
        if (difference < 0) {
            nibble = 8;
            difference = -difference;
        }
        int part = step;
        for (uint8_t bit = 4; bit > 0; bit >>= 1, part >>= 1)
            if (difference >= part) {
                nibble |= bit;
                difference -= part;
            }
        int change = step >> 3;
        if (nibble & 4)
            change += step;
        if (nibble & 2)
            change += step >> 1;
        if (nibble & 1)
            change += step >> 2;
        Predictor = std::clamp(Predictor + ((nibble & 8) ? -change : change), -32768, 32767);
        Index = std::clamp(Index + IndexTable[nibble & 7], 0, 88);
        return nibble;
    }
};

class ImaEncoder : public AdpcmEncoder {
public:
    ImaEncoder(uint32_t channels, uint32_t blockAlign)
        : AdpcmEncoder(channels, blockAlign)
        , State(channels) {}
    uint32_t FramesPerBlock() const override { return (Align - 4 * Channels) * 2 / Channels + 1; }

private:
    void EncodeBlock(const int16_t* frames, uint8_t* out) override {
        for (uint32_t c = 0; c < Channels; ++c) {
            ImaChannel& channel = State[c];
            channel.Predictor = frames[c];
            out[4 * c] = uint8_t(frames[c] & 0xFF);
            out[4 * c + 1] = uint8_t(uint16_t(frames[c]) >> 8);
            out[4 * c + 2] = uint8_t(channel.Index);
            out[4 * c + 3] = 0;
        }
        // After the headers: for each group of eight frames, four bytes per channel, the
        // earlier sample of each pair in the low nibble.
        uint8_t* at = out + 4 * Channels;
        const uint32_t groups = (FramesPerBlock() - 1) / 8;
        for (uint32_t g = 0; g < groups; ++g)
            for (uint32_t c = 0; c < Channels; ++c)
                for (uint32_t pair = 0; pair < 4; ++pair) {
                    const size_t frame = 1 + size_t(g) * 8 + pair * 2;
                    const uint8_t low = State[c].Encode(frames[frame * Channels + c]);
                    const uint8_t high = State[c].Encode(frames[(frame + 1) * Channels + c]);
                    *at++ = uint8_t(low | (high << 4));
                }
    }

    std::vector<ImaChannel> State;
};

} // namespace

uint32_t ImaAdpcmCodec::BlockAlignFor(uint32_t rate, uint32_t channels) {
    return 256 * channels * std::max(1u, rate / 11025);
}

bool ImaAdpcmCodec::Supports(uint32_t channels) const {
    return channels == 1 || channels == 2;
}

WaveFormatBlock ImaAdpcmCodec::TargetFormat(uint32_t rate, uint32_t channels) const {
    const uint32_t align = BlockAlignFor(rate, channels);
    const uint16_t perBlock = uint16_t((align - 4 * channels) * 2 / channels + 1);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_IMA_ADPCM;
    format.nChannels = uint16_t(channels);
    format.nSamplesPerSec = rate;
    format.nBlockAlign = uint16_t(align);
    format.nAvgBytesPerSec = uint32_t(uint64_t(rate) * align / perBlock);
    format.wBitsPerSample = 4;
    format.cbSize = 2;
    return MakeFormatBlock(format, &perBlock);
}

std::unique_ptr<IBlockEncoder> ImaAdpcmCodec::MakeEncoder(const WAVEFORMATEX& target) const {
    return std::make_unique<ImaEncoder>(target.nChannels, target.nBlockAlign);
}
