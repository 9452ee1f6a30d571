#include "G711Codec.h"

namespace {

/// The segment of a magnitude: the index of the first end that it does not pass.
int Segment(int value, const int* ends) {
    for (int segment = 0; segment < 8; ++segment)
        if (value <= ends[segment])
            return segment;
    return 8;
}

/// The 16-bit sample rounded to `bits` bits, clipped at the top.
int Rounded(int16_t sample, int bits) {
    const int shift = 16 - bits;
    const int value = (int(sample) + (1 << (shift - 1))) >> shift;
    return value > (1 << (bits - 1)) - 1 ? (1 << (bits - 1)) - 1 : value;
}

class G711Encoder : public IBlockEncoder {
public:
    G711Encoder(uint32_t channels, bool aLaw)
        : Channels(channels)
        , IsALaw(aLaw) {}
    uint32_t FramesPerBlock() const override { return 1; }
    uint32_t BlockAlign() const override { return Channels; }
    void Encode(const int16_t* frames, uint32_t blocks, uint8_t* out) override {
        const size_t count = size_t(blocks) * Channels;
        for (size_t i = 0; i < count; ++i)
            out[i] = IsALaw ? G711Codec::ALaw(frames[i]) : G711Codec::MuLaw(frames[i]);
    }

private:
    uint32_t Channels;
    bool IsALaw;
};

} // namespace

G711Codec::G711Codec(uint16_t formatTag)
    : Tag(formatTag) {}

std::string G711Codec::Name() const {
    return Tag == WAVE_FORMAT_ALAW ? "A-Law" : "u-Law";
}

uint8_t G711Codec::ALaw(int16_t sample) {
    static const int ends[8] = {0x1F, 0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF};
    int value = Rounded(sample, 13);
    int mask = 0xD5;
    if (value < 0) {
        mask = 0x55;
        value = -value - 1;
    }
    const int segment = Segment(value, ends);
    if (segment >= 8)
        return uint8_t(0x7F ^ mask);
    const int quantised = (segment < 2 ? value >> 1 : value >> segment) & 0x0F;
    return uint8_t(((segment << 4) | quantised) ^ mask);
}

uint8_t G711Codec::MuLaw(int16_t sample) {
    static const int ends[8] = {0x3F, 0x7F, 0xFF, 0x1FF, 0x3FF, 0x7FF, 0xFFF, 0x1FFF};
    constexpr int Clip = 8159;
    constexpr int Bias = 0x84 >> 2;
    int value = Rounded(sample, 14);
    int mask = 0xFF;
    if (value < 0) {
        value = -value;
        mask = 0x7F;
    }
    if (value > Clip)
        value = Clip;
    value += Bias;
    const int segment = Segment(value, ends);
    if (segment >= 8)
        return uint8_t(0x7F ^ mask);
    return uint8_t(((segment << 4) | ((value >> (segment + 1)) & 0x0F)) ^ mask);
}

bool G711Codec::Supports(uint32_t channels) const {
    return channels >= 1 && channels <= 8;
}

WaveFormatBlock G711Codec::TargetFormat(uint32_t rate, uint32_t channels) const {
    return MakeFormatBlock(MakeSampleFormat(Tag, rate, channels, 8));
}

std::unique_ptr<IBlockEncoder> G711Codec::MakeEncoder(const WAVEFORMATEX& target) const {
    return std::make_unique<G711Encoder>(target.nChannels, Tag == WAVE_FORMAT_ALAW);
}
