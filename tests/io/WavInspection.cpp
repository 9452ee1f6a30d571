#include "WavInspection.h"

#include "TestFiles.h"

#include <cmath>
#include <cstring>
#include <regex>
#include <stdexcept>

namespace {

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t at) {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

std::string Match(const std::string& text, const std::string& pattern) {
    std::smatch found;
    if (!std::regex_search(text, found, std::regex(pattern)))
        return {};
    return found[1];
}

} // namespace

const RiffChunk* RiffLayout::Find(const std::string& id) const {
    for (const auto& chunk : Chunks)
        if (chunk.Id == id)
            return &chunk;
    return nullptr;
}

std::vector<std::string> RiffLayout::Ids() const {
    std::vector<std::string> ids;
    for (const auto& chunk : Chunks)
        ids.push_back(chunk.Id);
    return ids;
}

RiffLayout ReadRiff(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    RiffLayout layout;
    layout.FileSize = bytes.size();
    if (bytes.size() < 12)
        throw std::runtime_error("not a RIFF file: " + path);
    layout.RiffId.assign(bytes.begin(), bytes.begin() + 4);
    layout.RiffSize = Le32(bytes, 4);
    layout.FormType.assign(bytes.begin() + 8, bytes.begin() + 12);
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        RiffChunk chunk;
        chunk.Id.assign(bytes.begin() + std::ptrdiff_t(at), bytes.begin() + std::ptrdiff_t(at) + 4);
        chunk.Size = Le32(bytes, at + 4);
        const size_t end = std::min(bytes.size(), at + 8 + chunk.Size);
        chunk.Data.assign(bytes.begin() + std::ptrdiff_t(at) + 8,
                          bytes.begin() + std::ptrdiff_t(end));
        layout.Chunks.push_back(chunk);
        at += 8 + chunk.Size + (chunk.Size & 1);
    }
    return layout;
}

ReaderView SoxView(const std::string& path) {
    const std::string info = RunProgram({"sox", "--i", path});
    ReaderView view;
    view.Encoding = Match(info, "Sample Encoding: ([^\\n]+)");
    view.Rate = uint32_t(std::stoul(Match(info, "Sample Rate +: (\\d+)")));
    view.Channels = uint32_t(std::stoul(Match(info, "Channels +: (\\d+)")));
    view.Frames = std::stoll(Match(info, "= (\\d+) samples"));
    return view;
}

ReaderView FfprobeView(const std::string& path) {
    const std::string info = RunProgram(
        {"ffprobe", "-v", "error", "-count_packets", "-show_entries",
         "stream=codec_name,sample_rate,channels,duration_ts", "-of", "default=nw=1", path});
    ReaderView view;
    view.Encoding = Match(info, "codec_name=(\\S+)");
    view.Rate = uint32_t(std::stoul(Match(info, "sample_rate=(\\d+)")));
    view.Channels = uint32_t(std::stoul(Match(info, "channels=(\\d+)")));
    const std::string frames = Match(info, "duration_ts=(\\d+)");
    view.Frames = frames.empty() ? -1 : std::stoll(frames);
    return view;
}

ReaderView SndfileView(const std::string& path) {
    const std::string info = RunProgram({"sndfile-info", path});
    const size_t summary = info.find("Sample Rate :");
    if (summary == std::string::npos)
        throw std::runtime_error("sndfile-info cannot read " + path + ":\n" + info);
    const std::string tail = info.substr(summary);
    ReaderView view;
    view.Encoding = Match(tail, "Format +: (0x[0-9A-Fa-f]+)");
    view.Rate = uint32_t(std::stoul(Match(tail, "Sample Rate : (\\d+)")));
    view.Channels = uint32_t(std::stoul(Match(tail, "Channels +: (\\d+)")));
    view.Frames = std::stoll(Match(tail, "Frames +: (\\d+)"));
    return view;
}

std::vector<uint8_t> AsBytes(const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    return bytes;
}

std::vector<int16_t> DecodeWithFfmpeg(const std::string& path) {
    const std::string raw =
        RunProgram({"ffmpeg", "-v", "error", "-i", path, "-f", "s16le", "-c:a", "pcm_s16le", "-"});
    return ToSamples(std::vector<uint8_t>(raw.begin(), raw.end()));
}

std::vector<int16_t> DecodeWithSox(const std::string& path) {
    const std::string raw =
        RunProgram({"sox", "-V1", path, "-t", "raw", "-e", "signed", "-b", "16", "-"});
    return ToSamples(std::vector<uint8_t>(raw.begin(), raw.end()));
}

double SignalToNoise(const std::vector<int16_t>& reference, const std::vector<int16_t>& decoded) {
    const size_t count = std::min(reference.size(), decoded.size());
    double signal = 0, noise = 0;
    for (size_t i = 0; i < count; ++i) {
        signal += double(reference[i]) * reference[i];
        const double error = double(reference[i]) - decoded[i];
        noise += error * error;
    }
    return 10 * std::log10(signal / std::max(noise, 1e-9));
}

double Rms(const std::vector<int16_t>& samples, uint32_t channels, uint32_t channel) {
    double sum = 0;
    size_t count = 0;
    for (size_t i = channel; i < samples.size(); i += channels, ++count)
        sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / double(count)) : 0;
}

double ZeroCrossingFrequency(const std::vector<int16_t>& samples, uint32_t channels,
                             uint32_t channel, uint32_t rate) {
    size_t first = 0, last = 0, crossings = 0;
    for (size_t i = channel + channels; i < samples.size(); i += channels)
        if (samples[i - channels] < 0 && samples[i] >= 0) {
            if (crossings == 0)
                first = i / channels;
            last = i / channels;
            ++crossings;
        }
    if (crossings < 2)
        return 0;
    return double(crossings - 1) * rate / double(last - first);
}
