#include "MsAdpcmCodec.h"

#include "AdpcmEncoder.h"
#include "ImaAdpcmCodec.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr int16_t Coefficients[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                                        {240, 0}, {460, -208}, {392, -232}};
constexpr int Adaptation[16] = {230, 230, 230, 230, 307, 409, 512, 614,
                                768, 614, 512, 409, 307, 230, 230, 230};
constexpr int StartSteps[] = {16, 48, 128, 384, 1024, 3072};

/// One channel of one block being encoded with a given predictor.
struct MsChannel {
    int Coefficient1, Coefficient2;
    int Step;
    int Sample1, Sample2;

    uint8_t Encode(int sample, int64_t& error) {
        const int predicted = (Sample1 * Coefficient1 + Sample2 * Coefficient2) / 256;
        const int difference = sample - predicted;
        // Round to the nearest step.
        const int bias = difference < 0 ? -Step / 2 : Step / 2;
        const int nibble = std::clamp((difference + bias) / Step, -8, 7);
        const int decoded = std::clamp(predicted + nibble * Step, -32768, 32767);
        error += int64_t(sample - decoded) * (sample - decoded);
        Sample2 = Sample1;
        Sample1 = decoded;
        Step = std::max(16, (Adaptation[nibble & 0x0F] * Step) / 256);
        return uint8_t(nibble & 0x0F);
    }
};

class MsEncoder : public AdpcmEncoder {
public:
    MsEncoder(uint32_t channels, uint32_t blockAlign)
        : AdpcmEncoder(channels, blockAlign) {}
    uint32_t FramesPerBlock() const override { return (Align - 7 * Channels) * 2 / Channels + 2; }

private:
    /// The predictor and starting step with the least squared error for one channel.
    MsChannel Best(const int16_t* frames, uint32_t channel, uint8_t& predictor) const {
        int64_t least = std::numeric_limits<int64_t>::max();
        MsChannel best{};
        for (uint8_t p = 0; p < 7; ++p)
            for (const int step : StartSteps) {
                MsChannel trial{Coefficients[p][0], Coefficients[p][1], step,
                                frames[Channels + channel], frames[channel]};
                const MsChannel start = trial;
                int64_t error = 0;
                for (uint32_t f = 2; f < FramesPerBlock() && error < least; ++f)
                    trial.Encode(frames[size_t(f) * Channels + channel], error);
                if (error < least) {
                    least = error;
                    best = start;
                    predictor = p;
                }
            }
        return best;
    }

    void EncodeBlock(const int16_t* frames, uint8_t* out) override {
        std::vector<MsChannel> state(Channels);
        for (uint32_t c = 0; c < Channels; ++c) {
            uint8_t predictor = 0;
            state[c] = Best(frames, c, predictor);
            out[c] = predictor;
            const int16_t values[3] = {int16_t(state[c].Step), int16_t(state[c].Sample1),
                                       int16_t(state[c].Sample2)};
            for (uint32_t field = 0; field < 3; ++field)
                std::memcpy(out + Channels + (field * Channels + c) * 2, &values[field], 2);
        }
        // The nibbles in frame order, channels interleaved, the first in the high half.
        uint8_t* at = out + 7 * Channels;
        int64_t ignored = 0;
        const size_t count = size_t(FramesPerBlock() - 2) * Channels;
        for (size_t i = 0; i < count; i += 2) {
            const size_t first = 2 * Channels + i;
            const uint8_t high = state[first % Channels].Encode(frames[first], ignored);
            const uint8_t low = state[(first + 1) % Channels].Encode(frames[first + 1], ignored);
            *at++ = uint8_t((high << 4) | low);
        }
    }
};

} // namespace

bool MsAdpcmCodec::Supports(uint32_t channels) const {
    return channels == 1 || channels == 2;
}

WaveFormatBlock MsAdpcmCodec::TargetFormat(uint32_t rate, uint32_t channels) const {
    const uint32_t align = ImaAdpcmCodec::BlockAlignFor(rate, channels);
    const uint16_t perBlock = uint16_t((align - 7 * channels) * 2 / channels + 2);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_ADPCM;
    format.nChannels = uint16_t(channels);
    format.nSamplesPerSec = rate;
    format.nBlockAlign = uint16_t(align);
    format.nAvgBytesPerSec = uint32_t(uint64_t(rate) * align / perBlock);
    format.wBitsPerSample = 4;
    format.cbSize = 32;
    uint8_t extra[32];
    const uint16_t header[2] = {perBlock, 7};
    std::memcpy(extra, header, 4);
    std::memcpy(extra + 4, Coefficients, 28);
    return MakeFormatBlock(format, extra);
}

std::unique_ptr<IBlockEncoder> MsAdpcmCodec::MakeEncoder(const WAVEFORMATEX& target) const {
    return std::make_unique<MsEncoder>(target.nChannels, target.nBlockAlign);
}
