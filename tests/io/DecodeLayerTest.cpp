// The decoding layer on FFmpeg: formats, samples against independent oracles, stream ends, and
// what it refuses.
#include "AudioFixtures.h"
#include "Bass.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace {

struct Decoded {
    bool Opened = false;
    uint32_t Rate = 0;
    uint32_t Channels = 0;
    QWORD Length = 0;
    std::vector<int16_t> Samples;
};

Decoded DecodeAll(const std::string& file) {
    Decoded result;
    BASS_Init(-1, 44100, 0, nullptr, nullptr);
    const HSTREAM stream = BASS_StreamCreateFile(FALSE_VALUE, file.c_str(), 0, 0, 0x200100);
    if (!stream)
        return result;
    result.Opened = true;
    BASS_CHANNELINFO info{};
    EXPECT_TRUE(BASS_ChannelGetInfo(stream, &info));
    result.Rate = info.freq;
    result.Channels = info.chans;
    result.Length = BASS_ChannelGetLength(stream, BASS_POS_BYTE);
    std::vector<float> buffer(8192);
    int rounds = 0;
    while (BASS_ChannelIsActive(stream)) {
        const DWORD got = BASS_ChannelGetData(stream, buffer.data(), 32768);
        EXPECT_EQ(got % (4 * info.chans), 0u);
        for (DWORD i = 0; i < got / 4; ++i)
            result.Samples.push_back(FloatTo16(buffer[i]));
        EXPECT_LT(++rounds, 1000000) << "stream never ends";
        if (rounds >= 1000000)
            break;
    }
    EXPECT_EQ(BASS_ChannelGetData(stream, buffer.data(), 32768), 0u);
    EXPECT_TRUE(BASS_StreamFree(stream));
    return result;
}

TEST(DecodeLayer, LengthIsTheFloatBytesOfAStatedDuration) {
    const Decoded wav = DecodeAll(Fixture("tone.wav"));
    EXPECT_EQ(wav.Length, QWORD(wav.Samples.size()) * 4);
    const Decoded flac = DecodeAll(Fixture("tone.flac"));
    EXPECT_EQ(flac.Length, QWORD(flac.Samples.size()) * 4);
}

TEST(DecodeLayer, LengthEstimatedFromTheBitRateIsUnknown) {
    EXPECT_EQ(DecodeAll(Fixture("noheader.mp3")).Length, BASS_UNKNOWN);
}

TEST(DecodeLayer, ChannelCountsAboveTwoAreReported) {
    EXPECT_EQ(DecodeAll(Fixture("six.wav")).Channels, 6u);
    const Decoded sixteen = DecodeAll(Fixture("sixteen.wav"));
    EXPECT_EQ(sixteen.Channels, 16u);
    EXPECT_EQ(sixteen.Samples.size(), 16u * 4410u);
}

TEST(DecodeLayer, CutFlacGivesThePartThatDecodes) {
    const Decoded cut = DecodeAll(Fixture("cut.flac"));
    ASSERT_TRUE(cut.Opened);
    const std::vector<int16_t> full = ToSamples(ReadWav(Fixture("tone.wav")).Data);
    ASSERT_GT(cut.Samples.size(), full.size() / 4);
    ASSERT_LT(cut.Samples.size(), full.size());
    EXPECT_TRUE(std::equal(cut.Samples.begin(), cut.Samples.end(), full.begin()));
}

TEST(DecodeLayer, PluginLoadsAreNoOps) {
    EXPECT_NE(BASS_PluginLoad("bassflac.dll", 0), 0u);
    EXPECT_EQ(BASS_PluginLoad("other.dll", 0), 0u);
    EXPECT_TRUE(BASS_PluginFree(BASS_PluginLoad("bassopus.dll", 0)));
}

TEST(DecodeLayer, UnsupportedCallsFail) {
    const std::string file = Fixture("tone.wav");
    EXPECT_EQ(BASS_StreamCreateFile(FALSE_VALUE, file.c_str(), 0, 0, 0), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(TRUE_VALUE, file.c_str(), 0, 0, 0x200100), 0u);
    EXPECT_EQ(BASS_StreamCreateFile(FALSE_VALUE, file.c_str(), 44, 0, 0x200100), 0u);
    BASS_CHANNELINFO info{};
    EXPECT_FALSE(BASS_ChannelGetInfo(12345678, &info));
    EXPECT_EQ(BASS_ChannelIsActive(12345678), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ChannelGetLength(12345678, BASS_POS_BYTE), BASS_UNKNOWN);
    EXPECT_FALSE(BASS_StreamFree(12345678));
}

TEST(DecodeLayer, Id3TagLargerThanTheProbeWindowIsSteppedOver) {
    TempDir dir;
    // An ID3v2.3 tag of 1.5 MiB (header and padding only) in front of an MP3 without a header
    // frame.
    const uint32_t size = 3 << 19;
    std::vector<uint8_t> bytes = {'I',
                                  'D',
                                  '3',
                                  3,
                                  0,
                                  0,
                                  uint8_t(size >> 21 & 0x7F),
                                  uint8_t(size >> 14 & 0x7F),
                                  uint8_t(size >> 7 & 0x7F),
                                  uint8_t(size & 0x7F)};
    bytes.resize(10 + size, 0);
    const std::vector<uint8_t> mp3 = ReadWholeFile(Fixture("noheader.mp3"));
    bytes.insert(bytes.end(), mp3.begin(), mp3.end());
    WriteWholeFile(dir.File("covered.mp3"), bytes);
    const Decoded decoded = DecodeAll(dir.File("covered.mp3"));
    ASSERT_TRUE(decoded.Opened);
    EXPECT_EQ(decoded.Samples.size(), DecodeAll(Fixture("noheader.mp3")).Samples.size());
}

TEST(DecodeLayer, ChainedOggKeepsTheFirstLinksFormat) {
    // 2 s of 44.1 kHz stereo, then 1 s of 22.05 kHz mono converted to the first link's format.
    const Decoded chained = DecodeAll(Fixture("chained.ogg"));
    ASSERT_TRUE(chained.Opened);
    EXPECT_EQ(chained.Rate, 44100u);
    EXPECT_EQ(chained.Channels, 2u);
    const size_t frames = chained.Samples.size() / 2;
    EXPECT_GT(frames, size_t(44100 * 2.9));
    EXPECT_LT(frames, size_t(44100 * 3.1));
    // The mono link's last half second is in both channels alike, and not silent.
    int64_t energy = 0;
    for (size_t f = frames - 22050; f < frames - 1000; ++f) {
        EXPECT_NEAR(chained.Samples[2 * f], chained.Samples[2 * f + 1], 1) << "frame " << f;
        energy += std::abs(chained.Samples[2 * f]);
    }
    EXPECT_GT(energy / 21050, 1000);
}

TEST(DecodeLayer, DamagedPacketsAreSkipped) {
    TempDir dir;
    std::vector<uint8_t> bytes = ReadWholeFile(Fixture("tone.flac"));
    std::mt19937 random(3);
    for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 3000; ++i)
        bytes[i] = uint8_t(random());
    WriteWholeFile(dir.File("damaged.flac"), bytes);
    const Decoded damaged = DecodeAll(dir.File("damaged.flac"));
    ASSERT_TRUE(damaged.Opened);
    const std::vector<int16_t> full = ToSamples(ReadWav(Fixture("tone.wav")).Data);
    // Everything before the damage comes out unchanged, and decoding goes on after it.
    ASSERT_GT(damaged.Samples.size(), full.size() * 3 / 4);
    ASSERT_LE(damaged.Samples.size(), full.size());
    EXPECT_TRUE(
        std::equal(full.begin(), full.begin() + long(full.size() / 3), damaged.Samples.begin()));
    EXPECT_TRUE(std::equal(full.end() - 4096, full.end(), damaged.Samples.end() - 4096));
}

/// A Musepack SV8 file of only a stream header, stating `samples` samples of 44.1 kHz stereo.
std::vector<uint8_t> MusepackHeader(uint64_t samples) {
    std::vector<uint8_t> count;
    for (uint64_t rest = samples; count.empty() || rest > 0; rest >>= 7)
        count.insert(count.begin(), uint8_t((rest & 0x7F) | (count.empty() ? 0 : 0x80)));
    std::vector<uint8_t> payload = {1, 2, 3, 4, 8}; // a checksum (not checked), version 8
    payload.insert(payload.end(), count.begin(), count.end());
    payload.insert(payload.end(), {0, 0x00, 0x10}); // no silence; 44.1 kHz, one band, stereo
    std::vector<uint8_t> bytes = {'M', 'P', 'C', 'K', 'S', 'H', uint8_t(payload.size() + 3)};
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    bytes.insert(bytes.end(), {'S', 'E', 3});
    return bytes;
}

TEST(DecodeLayer, AStatedLengthBeyondSixtyFourBitBytesIsUnknown) {
    TempDir dir;
    WriteWholeFile(dir.File("huge.mpc"), MusepackHeader(uint64_t(1) << 62));
    const Decoded decoded = DecodeAll(dir.File("huge.mpc"));
    ASSERT_TRUE(decoded.Opened);
    EXPECT_EQ(decoded.Length, BASS_UNKNOWN);
    EXPECT_TRUE(decoded.Samples.empty());
}

} // namespace
