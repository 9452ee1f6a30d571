// The writer with PCM targets: the file layout, identity, widths, pad bytes and conversions, each
// checked by our own chunk walk and by sox, ffprobe and libsndfile.
#include "WavInspection.h"
#include "WriterHelpers.h"

#include "AudioCompression.h"
#include "EMakerError.h"
#include "Signals.h"
#include "TestFiles.h"
#include "WAVWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

void ExpectReaders(const std::string& path, const std::string& soxEncoding,
                   const std::string& ffprobeCodec, const std::string& sndfileCode, uint32_t rate,
                   uint32_t channels, int64_t frames) {
    const ReaderView sox = SoxView(path);
    EXPECT_EQ(sox.Encoding, soxEncoding);
    EXPECT_EQ(sox.Rate, rate);
    EXPECT_EQ(sox.Channels, channels);
    EXPECT_EQ(sox.Frames, frames);
    const ReaderView ffprobe = FfprobeView(path);
    EXPECT_EQ(ffprobe.Encoding, ffprobeCodec);
    EXPECT_EQ(ffprobe.Rate, rate);
    EXPECT_EQ(ffprobe.Channels, channels);
    const ReaderView sndfile = SndfileView(path);
    EXPECT_EQ(sndfile.Encoding, sndfileCode);
    EXPECT_EQ(sndfile.Rate, rate);
    EXPECT_EQ(sndfile.Channels, channels);
    EXPECT_EQ(sndfile.Frames, frames);
}

TEST(WAVWriterPcm, SixteenBitIsAnIdentityWithCanonicalLayout) {
    TempDir dir;
    const auto input = AsBytes(Harmonics(10007, 440, 44100, 2, 32767.0 * 0.5));
    const std::string path = dir.File("out.wav");
    WriteThroughWriter(path, PcmFormat(44100, 2, 16), Block(PcmFormat(44100, 2, 16)), input);

    const RiffLayout layout = ReadRiff(path);
    EXPECT_EQ(layout.RiffId, "RIFF");
    EXPECT_EQ(layout.FormType, "WAVE");
    EXPECT_EQ(layout.RiffSize, layout.FileSize - 8);
    EXPECT_EQ(layout.Ids(), (std::vector<std::string>{"fmt ", "data"}));
    EXPECT_EQ(layout.Find("fmt ")->Size, 16u);
    const WAVEFORMATEX expected = PcmFormat(44100, 2, 16);
    EXPECT_EQ(0, std::memcmp(layout.Find("fmt ")->Data.data(), &expected, 16));
    EXPECT_EQ(layout.Find("data")->Data, input);
    EXPECT_EQ(layout.FileSize, 44 + input.size());
    ExpectReaders(path, "16-bit Signed Integer PCM", "pcm_s16le", "0x00010002", 44100, 2, 10007);
}

TEST(WAVWriterPcm, OneByteAtATimeGivesTheSameFileAsOneWrite) {
    TempDir dir;
    const auto input = AsBytes(Harmonics(3001, 300, 11025, 1, 32767.0 * 0.7));
    std::vector<WaveFormatBlock> offered;
    AudioCompression::System().FormatEnumConvertible(PcmFormat(11025, 1, 16), offered);
    const auto ima = std::find_if(offered.begin(), offered.end(), [](const WaveFormatBlock& f) {
        return ReadWaveFormat(f.data()).wFormatTag == 0x11;
    });
    ASSERT_NE(ima, offered.end());
    for (const auto& target :
         {Block(PcmFormat(11025, 1, 16)), Block(PcmFormat(8000, 2, 8)), *ima}) {
        WriteThroughWriter(dir.File("bulk.wav"), PcmFormat(11025, 1, 16), target, input);
        WriteThroughWriter(dir.File("bytes.wav"), PcmFormat(11025, 1, 16), target, input, 1);
        const auto bulk = ReadWholeFile(dir.File("bulk.wav"));
        const auto bytes = ReadWholeFile(dir.File("bytes.wav"));
        EXPECT_GT(bulk.size(), 44u);
        EXPECT_TRUE(bulk == bytes);
    }
}

struct WidthCase {
    uint32_t Bits, Channels;
    const char* SoxEncoding;
    const char* FfprobeCodec;
    const char* SndfileCode;
};

class WAVWriterPcmWidth : public testing::TestWithParam<WidthCase> {};

TEST_P(WAVWriterPcmWidth, WritesEverySampleWidthThatReadersAccept) {
    const WidthCase c = GetParam();
    TempDir dir;
    const auto samples = Harmonics(4410, 500, 22050, c.Channels, 32767.0 * 0.6);
    const std::string path = dir.File("out.wav");
    WriteThroughWriter(path, PcmFormat(22050, c.Channels, 16),
                       Block(PcmFormat(22050, c.Channels, c.Bits)), AsBytes(samples), 1000);
    ExpectReaders(path, c.SoxEncoding, c.FfprobeCodec, c.SndfileCode, 22050, c.Channels, 4410);

    // Each sample is the 16-bit value widened (8-bit: its high byte, offset by 128).
    const RiffLayout layout = ReadRiff(path);
    const auto& data = layout.Find("data")->Data;
    const uint32_t width = c.Bits / 8;
    ASSERT_EQ(data.size(), samples.size() * width);
    for (size_t i = 0; i < samples.size(); ++i) {
        int32_t value = 0;
        if (width == 1) {
            value = (int32_t(data[i]) - 128) * 256;
            EXPECT_EQ(value, samples[i] & ~0xFF) << i;
            continue;
        }
        value = int16_t(data[i * width + width - 2] | (data[i * width + width - 1] << 8));
        EXPECT_EQ(value, samples[i]) << i;
        for (uint32_t low = 0; low + 2 < width; ++low)
            EXPECT_EQ(data[i * width + low], 0) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Widths, WAVWriterPcmWidth,
    testing::Values(WidthCase{8, 1, "8-bit Unsigned Integer PCM", "pcm_u8", "0x00010005"},
                    WidthCase{8, 2, "8-bit Unsigned Integer PCM", "pcm_u8", "0x00010005"},
                    WidthCase{16, 1, "16-bit Signed Integer PCM", "pcm_s16le", "0x00010002"},
                    WidthCase{24, 2, "24-bit Signed Integer PCM", "pcm_s24le", "0x00010003"},
                    WidthCase{32, 1, "32-bit Signed Integer PCM", "pcm_s32le", "0x00010004"},
                    WidthCase{32, 2, "32-bit Signed Integer PCM", "pcm_s32le", "0x00010004"}));

TEST(WAVWriterPcm, OddDataGetsThePadByteCountedOnlyInTheRiffSize) {
    TempDir dir;
    const std::string path = dir.File("odd.wav");
    WriteThroughWriter(path, PcmFormat(8000, 1, 16), Block(PcmFormat(8000, 1, 8)),
                       AsBytes(Harmonics(1001, 440, 8000, 1, 32767.0 * 0.5)));
    const RiffLayout layout = ReadRiff(path);
    EXPECT_EQ(layout.Find("data")->Size, 1001u);
    EXPECT_EQ(layout.FileSize, 44u + 1001 + 1);
    EXPECT_EQ(layout.RiffSize, layout.FileSize - 8);
    ExpectReaders(path, "8-bit Unsigned Integer PCM", "pcm_u8", "0x00010005", 8000, 1, 1001);
}

TEST(WAVWriterPcm, CloseWithoutWriteGivesAnEmptyDataChunk) {
    TempDir dir;
    const std::string path = dir.File("empty.wav");
    WriteThroughWriter(path, PcmFormat(44100, 2, 16), Block(PcmFormat(48000, 1, 16)), {});
    const RiffLayout layout = ReadRiff(path);
    EXPECT_EQ(layout.Ids(), (std::vector<std::string>{"fmt ", "data"}));
    EXPECT_EQ(layout.Find("data")->Size, 0u);
    EXPECT_EQ(layout.RiffSize, 36u);
    EXPECT_EQ(SndfileView(path).Frames, 0);
}

TEST(WAVWriterPcm, APartialLastFrameIsDropped) {
    TempDir dir;
    auto input = AsBytes(Harmonics(100, 440, 8000, 2, 32767.0 * 0.5));
    input.push_back(0x12);
    const std::string path = dir.File("partial.wav");
    WriteThroughWriter(path, PcmFormat(8000, 2, 16), Block(PcmFormat(8000, 2, 16)), input);
    input.pop_back();
    EXPECT_EQ(ReadRiff(path).Find("data")->Data, input);
}

TEST(WAVWriterPcm, WriteReportsTheConvertedBytesOfThatCall) {
    TempDir dir;
    WAVWriter writer(PcmFormat(10000, 1, 16), Block(PcmFormat(10000, 1, 16)));
    EXPECT_EQ(writer.Write("ab", 2), 0u); // not opened: nothing
    writer.Open(dir.File("count.wav"));
    const auto input = AsBytes(Harmonics(2500, 440, 10000, 1, 32767.0 * 0.5));
    // The source buffer holds 100 ms: 1000 frames, 2000 bytes.
    EXPECT_EQ(writer.Write(input.data(), 1999), 0u);
    EXPECT_EQ(writer.Write(input.data() + 1999, 2001), 4000u);
    writer.Close();
    EXPECT_FALSE(writer.Opened());
    writer.Close();
}

struct ConversionCase {
    uint32_t InRate, InChannels, OutRate, OutChannels;
};

class WAVWriterConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(WAVWriterConversion, MatchesSoxInLengthFrequencyAndLevel) {
    const ConversionCase c = GetParam();
    TempDir dir;
    // The same sine on every channel, so that averaging and repeating keep its level.
    std::vector<int16_t> samples;
    const auto mono = Harmonics(c.InRate * 3 / 2 + 17, 1000, c.InRate, 1, 32767.0 * 0.5);
    for (const int16_t s : mono)
        for (uint32_t ch = 0; ch < c.InChannels; ++ch)
            samples.push_back(s);
    const auto input = AsBytes(samples);
    WriteWholeFile(dir.File("in.raw"), input);
    const std::string ours = dir.File("ours.wav");
    WriteThroughWriter(ours, PcmFormat(c.InRate, c.InChannels, 16),
                       Block(PcmFormat(c.OutRate, c.OutChannels, 16)), input, 4096);
    RunProgram({"sox", "-D", "-t", "raw", "-r", std::to_string(c.InRate), "-e", "signed", "-b",
                "16", "-c", std::to_string(c.InChannels), dir.File("in.raw"), "-r",
                std::to_string(c.OutRate), "-c", std::to_string(c.OutChannels),
                dir.File("sox.wav")});
    const auto expected = DecodeWithSox(dir.File("sox.wav"));
    const auto got = ToSamples(ReadRiff(ours).Find("data")->Data);
    const ReaderView view = SoxView(ours);
    EXPECT_EQ(view.Rate, c.OutRate);
    EXPECT_EQ(view.Channels, c.OutChannels);
    EXPECT_EQ(got.size(), expected.size());
    for (uint32_t ch = 0; ch < c.OutChannels; ++ch) {
        EXPECT_NEAR(ZeroCrossingFrequency(got, c.OutChannels, ch, c.OutRate), 1000, 2);
        const double want = Rms(expected, c.OutChannels, ch);
        EXPECT_NEAR(Rms(got, c.OutChannels, ch), want, want * 0.01);
    }
}

INSTANTIATE_TEST_SUITE_P(
    RatesAndChannels, WAVWriterConversion,
    testing::Values(ConversionCase{44100, 2, 22050, 2}, ConversionCase{22050, 1, 48000, 1},
                    ConversionCase{48000, 2, 8000, 1}, ConversionCase{44100, 2, 44100, 1},
                    ConversionCase{11025, 1, 44100, 2}, ConversionCase{8000, 1, 96000, 2}));

} // namespace
