// The WAV writer and its RIFF file over every offered format: the first bytes choose the source
// format, the target and the size of each write; the rest is the PCM written.
#include "AudioCompression.h"
#include "EMakerError.h"
#include "FuzzFolder.h"
#include "WAVWriter.h"

#include <algorithm>

namespace {

constexpr uint32_t Rates[] = {100, 2000, 4000, 8000, 11025, 44100, 48000, 384000};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    WAVEFORMATEX source{};
    source.wFormatTag = WAVE_FORMAT_PCM;
    source.nChannels = uint16_t(data[1] % 2 + 1);
    source.nSamplesPerSec = Rates[data[0] % std::size(Rates)];
    source.nBlockAlign = uint16_t(2 * source.nChannels);
    source.nAvgBytesPerSec = source.nSamplesPerSec * source.nBlockAlign;
    source.wBitsPerSample = 16;
    std::vector<WaveFormatBlock> targets;
    if (AudioCompression::System().FormatEnumConvertible(source, targets) != 0 || targets.empty())
        return 0;
    WAVWriter writer(source, targets[data[2] % targets.size()]);
    const size_t step = size_t(data[3]) * 37 + 1;
    try {
        writer.Open(FuzzFolder() + "/written.wav");
        for (size_t at = 4; at < size; at += step)
            writer.Write(data + at, int32_t(std::min(step, size - at)));
        writer.Close();
    } catch (const EMakerError&) {
        // Every refusal of the writer is one of its messages.
    }
    return 0;
}
