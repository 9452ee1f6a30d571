#include "GsmCodec.h"

#include "Exceptions.h"

#include <gsm.h>

#include <algorithm>

namespace {

constexpr uint32_t FramesPerBlock = 320;
constexpr uint32_t BlockBytes = 65;

class GsmEncoder : public IBlockEncoder {
public:
    GsmEncoder()
        : Handle(gsm_create()) {
        if (!Handle)
            throw Exception("Can not create GSM encoder");
        int wav49 = 1;
        gsm_option(Handle, GSM_OPT_WAV49, &wav49);
    }
    ~GsmEncoder() override { gsm_destroy(Handle); }
    GsmEncoder(const GsmEncoder&) = delete;
    GsmEncoder& operator=(const GsmEncoder&) = delete;

    uint32_t FramesPerBlock() const override { return ::FramesPerBlock; }
    uint32_t BlockAlign() const override { return BlockBytes; }
    void Encode(const int16_t* frames, uint32_t blocks, uint8_t* out) override {
        for (uint32_t b = 0; b < blocks; ++b) {
            std::copy(frames, frames + ::FramesPerBlock, Samples);
            // In WAV49 the first frame of a pair takes 32 bytes and the second 33.
            gsm_encode(Handle, Samples, out);
            gsm_encode(Handle, Samples + 160, out + 32);
            frames += ::FramesPerBlock;
            out += BlockBytes;
        }
    }

private:
    gsm Handle;
    gsm_signal Samples[::FramesPerBlock];
};

} // namespace

bool GsmCodec::Supports(uint32_t channels) const {
    return channels == 1;
}

WaveFormatBlock GsmCodec::TargetFormat(uint32_t rate, uint32_t channels) const {
    const uint16_t perBlock = FramesPerBlock;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_GSM610;
    format.nChannels = uint16_t(channels);
    format.nSamplesPerSec = rate;
    format.nBlockAlign = BlockBytes;
    format.nAvgBytesPerSec = uint32_t(uint64_t(rate) * BlockBytes / FramesPerBlock);
    format.wBitsPerSample = 0;
    format.cbSize = 2;
    return MakeFormatBlock(format, &perBlock);
}

std::unique_ptr<IBlockEncoder> GsmCodec::MakeEncoder(const WAVEFORMATEX& /*target*/) const {
    return std::make_unique<GsmEncoder>();
}
