#include "FloatCodec.h"

#include <cstring>

namespace {

class FloatEncoder : public IBlockEncoder {
public:
    explicit FloatEncoder(uint32_t channels)
        : Channels(channels) {}
    uint32_t FramesPerBlock() const override { return 1; }
    uint32_t BlockAlign() const override { return 4 * Channels; }
    void Encode(const int16_t* frames, uint32_t blocks, uint8_t* out) override {
        for (size_t i = 0; i < size_t(blocks) * Channels; ++i) {
            const float value = float(frames[i]) / 32768.0f;
            std::memcpy(out + 4 * i, &value, 4);
        }
    }

private:
    uint32_t Channels;
};

} // namespace

bool FloatCodec::Supports(uint32_t channels) const {
    return channels >= 1 && channels <= 8;
}

WaveFormatBlock FloatCodec::TargetFormat(uint32_t rate, uint32_t channels) const {
    return MakeFormatBlock(MakeSampleFormat(WAVE_FORMAT_IEEE_FLOAT, rate, channels, 32));
}

std::unique_ptr<IBlockEncoder> FloatCodec::MakeEncoder(const WAVEFORMATEX& target) const {
    return std::make_unique<FloatEncoder>(target.nChannels);
}
