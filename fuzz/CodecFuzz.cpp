// The codecs' conversion streams fed directly: the first bytes choose the source format and the
// target among the formats offered for it, the rest is PCM cut into pieces of chosen lengths
// (empty ones passed as null), with and without the end-of-stream flag.
#include "AudioCompression.h"

#include <algorithm>
#include <vector>

namespace {

constexpr uint32_t Rates[] = {100, 2000, 8000, 11025, 22050, 44100, 48000, 96000, 384000};

WAVEFORMATEX Pcm(uint32_t rate, uint16_t channels) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = rate;
    format.nBlockAlign = uint16_t(2 * channels);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    format.wBitsPerSample = 16;
    return format;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const WAVEFORMATEX source = Pcm(Rates[data[0] % std::size(Rates)], uint16_t(data[1] % 8 + 1));
    std::vector<WaveFormatBlock> targets;
    AudioCompression& acm = AudioCompression::System();
    if (acm.FormatEnumConvertible(source, targets) != 0 || targets.empty())
        return 0;
    HACMSTREAM stream = nullptr;
    if (acm.StreamOpen(stream, source, targets[data[2] % targets.size()].data(), 0) != 0)
        return 0;
    std::vector<uint8_t> output;
    for (size_t at = 3; at < size;) {
        const size_t piece = std::min<size_t>(data[at] * 16u, size - at - 1);
        const uint8_t* input = piece > 0 ? data + at + 1 : nullptr;
        output.resize(size_t(stream->DestinationSize(piece)));
        uint32_t sourceUsed = 0, destinationUsed = 0;
        const uint32_t flags = at + 1 + piece >= size ? ACM_STREAMCONVERTF_END : 0;
        stream->Convert(input, uint32_t(piece), output.empty() ? nullptr : output.data(),
                        uint32_t(output.size()), flags, sourceUsed, destinationUsed);
        at += 1 + piece;
    }
    acm.StreamClose(stream, 0);
    return 0;
}
