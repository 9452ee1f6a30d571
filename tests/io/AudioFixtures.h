#pragma once

#include "Tindexdata.h"

#include <cstdint>
#include <string>
#include <vector>

/// The folder of audio fixtures that tests/fixtures/make-audio-fixtures.sh makes, once per build
/// folder and version of the script, and the path of one fixture in it. Tests only read them.
const std::string& FixtureDir();
std::string Fixture(const std::string& name);

/// A WAV file read by hand: its format fields and the bytes of its data chunk.
struct WavContents {
    uint16_t FormatTag = 0;
    uint16_t Channels = 0;
    uint32_t SampleRate = 0;
    uint16_t BitsPerSample = 0;
    std::vector<uint8_t> Data;
};
WavContents ReadWav(const std::string& path);

/// The float-to-16-bit rule: × 32768, clamped to −32768 … 32767, rounded to nearest, ties to even.
int16_t FloatTo16(float value);

/// The samples of a PCM WAV (8-bit unsigned, 16-, 24-bit signed or 32-bit float) as the decoder
/// must give them in 16 bits.
std::vector<int16_t> Expected16(const WavContents& wav);

/// `ffmpeg -i file -f s16le -`: the samples ffmpeg decodes.
std::vector<int16_t> FfmpegSamples(const std::string& file);

/// The six tags that the fixture script writes: track, title, artist, album, genre, year.
const std::vector<std::string>& FixtureTags();

/// A plain model of the peak index of one or two channels: per block of 512 frames and channel,
/// the maximum starting from 0 and the minimum starting from 32767.
Tindexdata PeakModel(const std::vector<int16_t>& samples, int channels);
