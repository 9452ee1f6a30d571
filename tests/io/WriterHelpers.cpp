#include "WriterHelpers.h"

#include "WAVWriter.h"

#include <algorithm>
#include <cstring>

WAVEFORMATEX PcmFormat(uint32_t rate, uint32_t channels, uint32_t bits) {
    WAVEFORMATEX format{};
    format.wFormatTag = 1;
    format.nChannels = uint16_t(channels);
    format.nSamplesPerSec = rate;
    format.nBlockAlign = uint16_t(channels * bits / 8);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    format.wBitsPerSample = uint16_t(bits);
    return format;
}

WaveFormatBlock Block(const WAVEFORMATEX& format, const std::vector<uint8_t>& extra) {
    WaveFormatBlock block{};
    std::memcpy(block.data(), &format, sizeof format);
    std::copy(extra.begin(), extra.end(), block.begin() + sizeof format);
    return block;
}

void WriteThroughWriter(const std::string& path, const WAVEFORMATEX& source,
                        const WaveFormatBlock& target, const std::vector<uint8_t>& bytes,
                        size_t chunk) {
    WAVWriter writer(source, target);
    writer.Open(path);
    if (chunk == 0)
        chunk = std::max<size_t>(bytes.size(), 1);
    for (size_t at = 0; at < bytes.size(); at += chunk)
        writer.Write(bytes.data() + at, int32_t(std::min(chunk, bytes.size() - at)));
    writer.Close();
}
