#include "AudioFixtures.h"

#include "TestFiles.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace {

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b.at(at)) | uint32_t(b.at(at + 1)) << 8 | uint32_t(b.at(at + 2)) << 16 |
           uint32_t(b.at(at + 3)) << 24;
}

uint16_t Le16(const std::vector<uint8_t>& b, size_t at) {
    return uint16_t(b.at(at) | b.at(at + 1) << 8);
}

} // namespace

const std::string& FixtureDir() {
    // Made once per build and version of the script, beside the test program: every test process
    // that ctest starts shares them, and a lock lets only the first one make them.
    static const std::string folder = [] {
        const std::string script =
            std::string(SONDRIX_SOURCE_DIR) + "/tests/fixtures/make-audio-fixtures.sh";
        const std::vector<uint8_t> text = ReadWholeFile(script);
        const size_t hash = std::hash<std::string>{}(std::string(text.begin(), text.end()));
        const std::filesystem::path dir =
            std::filesystem::read_symlink("/proc/self/exe").parent_path() /
            ("audio-fixtures-" + std::to_string(hash));
        const int lock = open((dir.string() + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644);
        if (lock < 0 || flock(lock, LOCK_EX) != 0)
            throw std::runtime_error("cannot lock the audio fixtures");
        if (!std::filesystem::exists(dir / "complete")) {
            // Fixtures of earlier versions of the script go.
            for (const auto& entry : std::filesystem::directory_iterator(dir.parent_path()))
                if (entry.path().filename().string().starts_with("audio-fixtures-") &&
                    entry.path().filename() != dir.filename() &&
                    entry.path().extension() != ".lock")
                    std::filesystem::remove_all(entry.path());
            std::filesystem::remove_all(dir);
            RunProgram({"bash", script, dir.string()});
            WriteWholeFile((dir / "complete").string(), {});
        }
        flock(lock, LOCK_UN);
        close(lock);
        return dir.string();
    }();
    return folder;
}

std::string Fixture(const std::string& name) {
    return FixtureDir() + "/" + name;
}

WavContents ReadWav(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
        throw std::runtime_error(path + " is not a WAV file");
    WavContents wav;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint32_t size = Le32(bytes, at + 4);
        const size_t body = at + 8;
        if (std::memcmp(bytes.data() + at, "fmt ", 4) == 0) {
            wav.FormatTag = Le16(bytes, body);
            wav.Channels = Le16(bytes, body + 2);
            wav.SampleRate = Le32(bytes, body + 4);
            wav.BitsPerSample = Le16(bytes, body + 14);
            if (wav.FormatTag == 0xFFFE)
                wav.FormatTag = Le16(bytes, body + 24);
        } else if (std::memcmp(bytes.data() + at, "data", 4) == 0) {
            const size_t end = std::min(bytes.size(), body + size);
            wav.Data.assign(bytes.begin() + long(body), bytes.begin() + long(end));
        }
        at = body + size + (size & 1);
    }
    return wav;
}

int16_t FloatTo16(float value) {
    if (std::isnan(value))
        return 0;
    const float scaled = std::fmax(-32768.0f, std::fmin(32767.0f, value * 32768.0f));
    return int16_t(std::nearbyint(scaled)); // the default rounding mode: ties to even
}

std::vector<int16_t> Expected16(const WavContents& wav) {
    std::vector<int16_t> samples;
    const std::vector<uint8_t>& d = wav.Data;
    if (wav.FormatTag == 3 && wav.BitsPerSample == 32) {
        for (size_t i = 0; i + 4 <= d.size(); i += 4) {
            float value;
            std::memcpy(&value, d.data() + i, 4);
            samples.push_back(FloatTo16(value));
        }
    } else if (wav.BitsPerSample == 8) {
        for (uint8_t v : d)
            samples.push_back(int16_t((int(v) - 128) * 256));
    } else if (wav.BitsPerSample == 16) {
        samples = ToSamples(d);
    } else if (wav.BitsPerSample == 24) {
        for (size_t i = 0; i + 3 <= d.size(); i += 3) {
            const int32_t v = int32_t(uint32_t(d[i]) << 8 | uint32_t(d[i + 1]) << 16 |
                                      uint32_t(d[i + 2]) << 24) >>
                              8;
            samples.push_back(FloatTo16(float(v) / 8388608.0f));
        }
    } else {
        throw std::runtime_error("unexpected WAV format");
    }
    return samples;
}

std::vector<int16_t> FfmpegSamples(const std::string& file) {
    const std::string raw = RunProgram({"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin",
                                        "-i", file, "-f", "s16le", "-"});
    return ToSamples(std::vector<uint8_t>(raw.begin(), raw.end()));
}

const std::vector<std::string>& FixtureTags() {
    static const std::vector<std::string> tags = {"3",          "Sine Title", "Test Artist",
                                                  "Test Album", "Rock",       "2021"};
    return tags;
}

Tindexdata PeakModel(const std::vector<int16_t>& samples, int channels) {
    Tindexdata index;
    const size_t frames = samples.size() / size_t(channels);
    for (size_t block = 0; block * 512 < frames; ++block)
        for (int c = 0; c < channels; ++c) {
            int16_t max = 0, min = 32767;
            for (size_t f = block * 512; f < std::min(frames, block * 512 + 512); ++f) {
                max = std::max(max, samples[f * size_t(channels) + size_t(c)]);
                min = std::min(min, samples[f * size_t(channels) + size_t(c)]);
            }
            index.push_back(MakeIndexElement(max, min));
        }
    return index;
}
