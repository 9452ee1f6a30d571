// The quality of each compressed encoding, judged by sox's own encoders and ffmpeg's decoders,
// and the end of a stream that stops inside a codec block.
#include "WavInspection.h"
#include "WriterHelpers.h"

#include "AudioCompression.h"
#include "EMakerError.h"
#include "Signals.h"
#include "TestFiles.h"
#include "WAVWriter.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

/// The format that the registry offers for `source` with `tag`.
WaveFormatBlock Offered(const WAVEFORMATEX& source, uint16_t tag) {
    std::vector<WaveFormatBlock> formats;
    AudioCompression::System().FormatEnumConvertible(source, formats);
    for (const auto& format : formats)
        if (ReadWaveFormat(format.data()).wFormatTag == tag)
            return format;
    throw std::runtime_error("format not offered");
}

/// A test signal with more than one tone and a full-scale peak, so every segment is used.
std::vector<int16_t> Signal(uint32_t rate, uint32_t channels, uint32_t frames) {
    auto samples = Harmonics(frames, 330, rate, channels, 32767.0 * 0.6);
    const auto other = Harmonics(frames, 1250, rate, channels, 32767.0 * 0.35);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(std::clamp(samples[i] + other[i], -32768, 32767));
    samples[10] = 32767;
    samples[11] = -32768;
    return samples;
}

struct LawCase {
    uint16_t Tag;
    const char* SoxEncoding;
    uint32_t Channels;
};

class WAVWriterLaw : public testing::TestWithParam<LawCase> {};

TEST_P(WAVWriterLaw, IsByteIdenticalToSoxsOwnEncoding) {
    const LawCase c = GetParam();
    TempDir dir;
    const auto input = AsBytes(Signal(8000, c.Channels, 12345));
    WriteWholeFile(dir.File("in.raw"), input);
    RunProgram({"sox", "-D", "-t", "raw", "-r", "8000", "-e", "signed", "-b", "16", "-c",
                std::to_string(c.Channels), dir.File("in.raw"), "-e", c.SoxEncoding,
                dir.File("sox.wav")});
    const WAVEFORMATEX source = PcmFormat(8000, c.Channels, 16);
    WriteThroughWriter(dir.File("ours.wav"), source, Offered(source, c.Tag), input);
    const RiffLayout ours = ReadRiff(dir.File("ours.wav"));
    const RiffLayout sox = ReadRiff(dir.File("sox.wav"));
    ASSERT_EQ(ours.Find("data")->Size, 12345u * c.Channels);
    EXPECT_TRUE(ours.Find("data")->Data == sox.Find("data")->Data);
}

INSTANTIATE_TEST_SUITE_P(Laws, WAVWriterLaw,
                         testing::Values(LawCase{0x0006, "a-law", 1}, LawCase{0x0006, "a-law", 2},
                                         LawCase{0x0007, "u-law", 1}, LawCase{0x0007, "u-law", 2}));

TEST(WAVWriterEncoding, FloatSamplesAreTheSixteenBitValuesOver32768) {
    TempDir dir;
    const auto samples = Signal(22050, 2, 5000);
    const WAVEFORMATEX source = PcmFormat(22050, 2, 16);
    WriteThroughWriter(dir.File("f.wav"), source, Offered(source, 0x0003), AsBytes(samples));
    const RiffLayout layout = ReadRiff(dir.File("f.wav"));
    const auto& data = layout.Find("data")->Data;
    ASSERT_EQ(data.size(), samples.size() * 4);
    for (size_t i = 0; i < samples.size(); ++i) {
        float value = 0;
        std::memcpy(&value, data.data() + 4 * i, 4);
        ASSERT_EQ(value, float(samples[i]) / 32768.0f) << i;
    }
}

struct QualityCase {
    uint16_t Tag;
    uint32_t Rate, Channels;
    double LeastSnr;
};

class WAVWriterQuality : public testing::TestWithParam<QualityCase> {};

TEST_P(WAVWriterQuality, FfmpegDecodesCloseToTheInput) {
    const QualityCase c = GetParam();
    TempDir dir;
    const auto samples = Signal(c.Rate, c.Channels, c.Rate * 2);
    const WAVEFORMATEX source = PcmFormat(c.Rate, c.Channels, 16);
    WriteThroughWriter(dir.File("q.wav"), source, Offered(source, c.Tag), AsBytes(samples), 7777);
    const auto decoded = DecodeWithFfmpeg(dir.File("q.wav"));
    ASSERT_GE(decoded.size(), samples.size());
    EXPECT_GE(SignalToNoise(samples, decoded), c.LeastSnr);
}

// GSM 6.10 is a lossy speech coder: on this two-tone signal at 8 kHz ours measured 16.8 dB once
// (sox's own GSM encoding of the same signal, decoded by ffmpeg: 16.5 dB), so 15 dB is the bar;
// a wrong frame layout or order decodes to noise far below it.
INSTANTIATE_TEST_SUITE_P(Codecs, WAVWriterQuality,
                         testing::Values(QualityCase{0x0011, 44100, 2, 20},
                                         QualityCase{0x0011, 8000, 1, 20},
                                         QualityCase{0x0002, 44100, 2, 20},
                                         QualityCase{0x0002, 11025, 1, 20},
                                         QualityCase{0x0031, 8000, 1, 15}));

struct TailCase {
    uint16_t Tag;
    uint32_t Channels;
};

class WAVWriterTail : public testing::TestWithParam<TailCase> {};

TEST_P(WAVWriterTail, APartialLastBlockIsPaddedAndFactCountsTheSourceFrames) {
    const TailCase c = GetParam();
    TempDir dir;
    const WAVEFORMATEX source = PcmFormat(22050, c.Channels, 16);
    const WaveFormatBlock target = Offered(source, c.Tag);
    const WAVEFORMATEX format = ReadWaveFormat(target.data());
    uint16_t perBlock = 1;
    std::memcpy(&perBlock, target.data() + 18, 2);
    const uint32_t frames = 3 * perBlock + perBlock / 3;
    WriteThroughWriter(dir.File("t.wav"), source, target,
                       AsBytes(Signal(22050, c.Channels, frames)), 1001);
    const RiffLayout layout = ReadRiff(dir.File("t.wav"));
    uint32_t fact = 0;
    std::memcpy(&fact, layout.Find("fact")->Data.data(), 4);
    EXPECT_EQ(fact, frames);
    EXPECT_EQ(layout.Find("data")->Size, 4u * format.nBlockAlign);
    // ffmpeg ignores "fact" and decodes the padding: silence after the source frames, once the
    // decoder has settled (GSM's filters ring for a while).
    const auto decoded = DecodeWithFfmpeg(dir.File("t.wav"));
    ASSERT_EQ(decoded.size(), size_t(4) * perBlock * c.Channels);
    const uint32_t settle = c.Tag == 0x0031 ? 160 : 8;
    const std::vector<int16_t> played(decoded.begin(), decoded.begin() + frames * c.Channels);
    const std::vector<int16_t> padding(decoded.begin() + (frames + settle) * c.Channels,
                                       decoded.end());
    for (uint32_t channel = 0; channel < c.Channels; ++channel)
        EXPECT_LT(Rms(padding, c.Channels, channel), Rms(played, c.Channels, channel) / 10);
}

INSTANTIATE_TEST_SUITE_P(Codecs, WAVWriterTail,
                         testing::Values(TailCase{0x0011, 1}, TailCase{0x0011, 2},
                                         TailCase{0x0002, 1}, TailCase{0x0002, 2},
                                         TailCase{0x0031, 1}));

TEST(WAVWriterEncoding, AStereoSourceCannotOpenTheMonoOnlyGsmCodec) {
    TempDir dir;
    const WaveFormatBlock gsm = Offered(PcmFormat(8000, 1, 16), 0x0031);
    WAVWriter writer(PcmFormat(8000, 2, 16), gsm);
    try {
        writer.Open(dir.File("gsm.wav"));
        FAIL() << "opened";
    } catch (const EMakerError& error) {
        EXPECT_STREQ(error.what(), "Can not open conversion stream. Current codec support only "
                                   "one channel. Please select another codec at control panel");
        EXPECT_EQ(error.ErrorCode(), -1);
    }
    EXPECT_FALSE(writer.Opened());
}

} // namespace
