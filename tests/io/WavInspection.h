#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// Test-side views of a written WAV file: our own plain chunk walk and what three independent
/// readers (sox, ffprobe, libsndfile) say about it.

struct RiffChunk {
    std::string Id;
    uint32_t Size = 0;
    std::vector<uint8_t> Data;
};

struct RiffLayout {
    std::string RiffId, FormType;
    uint32_t RiffSize = 0;
    uint64_t FileSize = 0;
    std::vector<RiffChunk> Chunks;
    const RiffChunk* Find(const std::string& id) const;
    std::vector<std::string> Ids() const;
};

/// Walks the chunks of a RIFF file (pad bytes after odd sizes skipped).
RiffLayout ReadRiff(const std::string& path);

/// What one reader says: its encoding name, the rate, the channels and the frames.
struct ReaderView {
    std::string Encoding;
    uint32_t Rate = 0, Channels = 0;
    int64_t Frames = -1;
};

ReaderView SoxView(const std::string& path);
ReaderView FfprobeView(const std::string& path);
/// Encoding is libsndfile's format code in hex, such as "0x00010002" for 16-bit PCM WAV.
ReaderView SndfileView(const std::string& path);

std::vector<uint8_t> AsBytes(const std::vector<int16_t>& samples);

/// Decodes a file to raw 16-bit samples with ffmpeg (at its own rate and channels).
std::vector<int16_t> DecodeWithFfmpeg(const std::string& path);
/// Decodes a file to raw 16-bit samples with sox.
std::vector<int16_t> DecodeWithSox(const std::string& path);

/// Signal-to-noise ratio in dB of `decoded` against `reference` over their common length.
double SignalToNoise(const std::vector<int16_t>& reference, const std::vector<int16_t>& decoded);
/// Root mean square of one channel.
double Rms(const std::vector<int16_t>& samples, uint32_t channels, uint32_t channel);
/// Upward zero crossings per second of one channel: a sine's frequency.
double ZeroCrossingFrequency(const std::vector<int16_t>& samples, uint32_t channels,
                             uint32_t channel, uint32_t rate);
