// The decoder writes every format into a temporary sample file with the right header, samples,
// peak index, levels and tags.
#include "TBASSDecoder.h"
#include "AppServices.h"
#include "AudioFixtures.h"
#include "Exceptions.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>

namespace {

uint32_t At32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

uint16_t At16(const std::vector<uint8_t>& b, size_t at) {
    return uint16_t(b[at] | b[at + 1] << 8);
}

/// The temporary file's header must be the canonical one for 16-bit PCM of its size.
void ExpectCanonicalHeader(const std::vector<uint8_t>& file, uint16_t channels, uint32_t rate) {
    ASSERT_GE(file.size(), 44u);
    EXPECT_EQ(std::memcmp(file.data(), "RIFF", 4), 0);
    EXPECT_EQ(At32(file, 4), file.size() - 8);
    EXPECT_EQ(std::memcmp(file.data() + 8, "WAVEfmt ", 8), 0);
    EXPECT_EQ(At32(file, 16), 16u);
    EXPECT_EQ(At16(file, 20), 1u);
    EXPECT_EQ(At16(file, 22), channels);
    EXPECT_EQ(At32(file, 24), rate);
    EXPECT_EQ(At32(file, 28), rate * channels * 2);
    EXPECT_EQ(At16(file, 32), channels * 2);
    EXPECT_EQ(At16(file, 34), 16u);
    EXPECT_EQ(std::memcmp(file.data() + 36, "data", 4), 0);
    EXPECT_EQ(At32(file, 40), file.size() - 44);
}

struct Result {
    bool Usable = false;
    bool Decoded = false;
    std::vector<uint8_t> File;
    std::vector<int16_t> Samples;
};

Result Decode(const std::string& source, const TempDir& dir) {
    Result result;
    const std::string temp = dir.File("decoded.wav");
    TBASSDecoder decoder(source, temp);
    result.Usable = decoder.Usable();
    if (!result.Usable)
        return result;
    result.Decoded = decoder.DecodeToFile();
    if (!result.Decoded)
        return result;
    result.File = ReadWholeFile(temp);
    ExpectCanonicalHeader(result.File, decoder.Channels(), decoder.SampleRate());
    EXPECT_EQ(decoder.DataSize(), int64_t(result.File.size()) - 44);
    result.Samples = ToSamples(std::vector<uint8_t>(result.File.begin() + 44, result.File.end()));
    // The peak builder saw exactly the samples written.
    Tindexdata index;
    decoder.PeakBuilder().GetIndexData(index);
    EXPECT_TRUE(index == PeakModel(result.Samples, decoder.Channels()));
    return result;
}

struct FormatCase {
    const char* File;
    uint32_t Rate;
    uint16_t Channels;
    const char* Source; // lossless: the WAV whose samples come back; lossy: nullptr
};

class DecodeFormat : public testing::TestWithParam<FormatCase> {};

TEST_P(DecodeFormat, WritesTheSamplesWithACanonicalHeader) {
    const FormatCase& c = GetParam();
    TempDir dir;
    TBASSDecoder probe(Fixture(c.File), dir.File("unused.wav"));
    ASSERT_TRUE(probe.Usable());
    EXPECT_EQ(probe.SampleRate(), c.Rate);
    EXPECT_EQ(probe.Channels(), c.Channels);
    const Result result = Decode(Fixture(c.File), dir);
    ASSERT_TRUE(result.Decoded);
    // Lossy samples are compared with ffmpeg's decode where the document loads them.
    if (c.Source)
        EXPECT_TRUE(result.Samples == Expected16(ReadWav(Fixture(c.Source))));
    else
        EXPECT_GT(result.Samples.size(), size_t(c.Rate) * c.Channels);
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodeFormat,
                         testing::Values(FormatCase{"tone.wav", 44100, 2, "tone.wav"},
                                         FormatCase{"mono.flac", 44100, 1, "mono.wav"},
                                         FormatCase{"pcm8.wav", 44100, 2, "pcm8.wav"},
                                         FormatCase{"pcm24.wav", 44100, 2, "pcm24.wav"},
                                         FormatCase{"float.wav", 48000, 2, "float.wav"},
                                         FormatCase{"gsm.wav", 8000, 1, nullptr},
                                         FormatCase{"tone.opus", 48000, 2, nullptr},
                                         FormatCase{"tone.mp3", 44100, 2, nullptr}));

TEST(TBASSDecoder, LevelsOfTheSamples) {
    TempDir dir;
    TBASSDecoder decoder(Fixture("tone.wav"), dir.File("decoded.wav"));
    ASSERT_TRUE(decoder.DecodeToFile());
    const std::vector<int16_t> samples = ToSamples(ReadWav(Fixture("tone.wav")).Data);
    int16_t expected[2] = {0, 0};
    for (size_t i = 0; i < samples.size(); ++i)
        expected[i % 2] = std::max(expected[i % 2], PeakMagnitude(samples[i]));
    Tindexdata index;
    decoder.PeakBuilder().GetIndexData(index);
    int16_t peaks[8] = {};
    int16_t peak = 0;
    double db = 0;
    decoder.PeakBuilder().GetLevels(std::span<int16_t>(peaks, 2), peak, db);
    EXPECT_EQ(peaks[0], expected[0]);
    EXPECT_EQ(peaks[1], expected[1]);
    EXPECT_EQ(peak, std::max(expected[0], expected[1]));
    EXPECT_NEAR(db, 20 * std::log10(peak / 32767.0), 1e-9);
}

TEST(TBASSDecoder, TagsAreCopied) {
    TempDir dir;
    TBASSDecoder tagged(Fixture("tone.flac"), dir.File("a.wav"));
    EXPECT_EQ(tagged.Tags(), FixtureTags());
    TBASSDecoder untagged(Fixture("tone.wav"), dir.File("b.wav"));
    EXPECT_EQ(untagged.Tags(), std::vector<std::string>(6));
}

TEST(TBASSDecoder, MoreThanTwoChannelsAreRefusedBeforeAnythingIsSized) {
    TempDir dir;
    for (const char* file : {"six.wav", "sixteen.wav"}) {
        TBASSDecoder decoder(Fixture(file), dir.File("decoded.wav"));
        EXPECT_FALSE(decoder.Usable()) << file;
        EXPECT_FALSE(decoder.DecodeToFile()) << file;
    }
}

TEST(TBASSDecoder, ZeroChannelsOrZeroRateAreRefused) {
    TempDir dir;
    std::vector<uint8_t> bytes = ReadWholeFile(Fixture("mono.wav"));
    std::vector<uint8_t> noChannels = bytes;
    noChannels[22] = 0;
    WriteWholeFile(dir.File("zero-channels.wav"), noChannels);
    std::vector<uint8_t> noRate = bytes;
    std::memset(&noRate[24], 0, 4);
    WriteWholeFile(dir.File("zero-rate.wav"), noRate);
    for (const char* file : {"zero-channels.wav", "zero-rate.wav"}) {
        TBASSDecoder decoder(dir.File(file), dir.File("decoded.wav"));
        EXPECT_FALSE(decoder.Usable()) << file;
        EXPECT_FALSE(decoder.DecodeToFile()) << file;
    }
}

TEST(TBASSDecoder, EmptySourceGivesAHeaderOnly) {
    TempDir dir;
    const std::vector<uint8_t> header = {'R', 'I', 'F',  'F',  36,  0,   0,    0,    'W', 'A', 'V',
                                         'E', 'f', 'm',  't',  ' ', 16,  0,    0,    0,   1,   0,
                                         2,   0,   0x44, 0xAC, 0,   0,   0x10, 0xB1, 2,   0,   4,
                                         0,   16,  0,    'd',  'a', 't', 'a',  0,    0,   0,   0};
    WriteWholeFile(dir.File("empty.wav"), header);
    TBASSDecoder decoder(dir.File("empty.wav"), dir.File("decoded.wav"));
    ASSERT_TRUE(decoder.Usable());
    ASSERT_TRUE(decoder.DecodeToFile());
    EXPECT_EQ(decoder.DataSize(), 0);
    const std::vector<uint8_t> file = ReadWholeFile(dir.File("decoded.wav"));
    ExpectCanonicalHeader(file, 2, 44100);
    EXPECT_EQ(file.size(), 44u);
}

TEST(TBASSDecoder, StopsAtTheSizeLimit) {
    TempDir dir;
    const int64_t sourceBytes = int64_t(ReadWav(Fixture("tone.wav")).Data.size());
    TBASSDecoder tooSmall(Fixture("tone.wav"), dir.File("a.wav"), {}, 44 + sourceBytes - 4);
    EXPECT_FALSE(tooSmall.DecodeToFile());
    EXPECT_TRUE(tooSmall.TooLong());
    EXPECT_EQ(tooSmall.LongestFrames(), (sourceBytes - 4) / 4);
    // The stated length is refused before the temporary file is even created.
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.wav")));
    TBASSDecoder exact(Fixture("tone.wav"), dir.File("b.wav"), {}, 44 + sourceBytes);
    EXPECT_TRUE(exact.DecodeToFile());
    EXPECT_FALSE(exact.TooLong());
    EXPECT_EQ(exact.DataSize(), sourceBytes);
}

TEST(TBASSDecoder, UnwritableTemporaryFileRaises) {
    TempDir dir;
    TBASSDecoder decoder(Fixture("tone.wav"), dir.File("missing/decoded.wav"));
    ASSERT_TRUE(decoder.Usable());
    EXPECT_THROW(decoder.DecodeToFile(), EFOpenError);
}

class Progress : public testing::TestWithParam<const char*> {};

TEST_P(Progress, StrictlyIncreasingFromAboveZeroToAtMostHundred) {
    TempDir dir;
    std::vector<int32_t> posted;
    TBASSDecoder decoder(Fixture(GetParam()), dir.File("decoded.wav"),
                         [&](int32_t percent) { posted.push_back(percent); });
    ASSERT_TRUE(decoder.DecodeToFile());
    ASSERT_GE(posted.size(), 3u);
    EXPECT_GT(posted.front(), 0);
    EXPECT_LE(posted.back(), 100);
    EXPECT_GE(posted.back(), 90);
    for (size_t i = 1; i < posted.size(); ++i)
        EXPECT_GT(posted[i], posted[i - 1]);
}

INSTANTIATE_TEST_SUITE_P(Formats, Progress,
                         testing::Values("tone.aac", "tone.ac3", "noheader.mp3", "tone.flac",
                                         "tone.wav", "float.wav"));

TEST(TBASSDecoder, ProgressOfAStatedLengthEndsAtHundred) {
    TempDir dir;
    std::vector<int32_t> posted;
    TBASSDecoder decoder(Fixture("tone.wav"), dir.File("decoded.wav"),
                         [&](int32_t percent) { posted.push_back(percent); });
    ASSERT_TRUE(decoder.DecodeToFile());
    ASSERT_FALSE(posted.empty());
    EXPECT_EQ(posted.back(), 100);
}

} // namespace
