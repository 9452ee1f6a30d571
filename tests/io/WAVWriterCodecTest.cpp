// The writer with every format of the codec registry: what sox, ffprobe and libsndfile read from
// the files, the "fact" count, and the quality of each encoding against independent decoders.
#include "WavInspection.h"
#include "WriterHelpers.h"

#include "AudioCompression.h"
#include "EMakerError.h"
#include "Signals.h"
#include "TestFiles.h"
#include "WAVWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>

namespace {

struct Expected {
    const char* Sox;
    const char* Ffprobe;
    const char* Sndfile;
};

/// What each reader calls our formats, by tag (PCM by bits).
Expected ReaderNames(const WAVEFORMATEX& format) {
    static const std::map<uint32_t, Expected> pcm = {
        {8, {"8-bit Unsigned Integer PCM", "pcm_u8", "0x00010005"}},
        {16, {"16-bit Signed Integer PCM", "pcm_s16le", "0x00010002"}},
        {24, {"24-bit Signed Integer PCM", "pcm_s24le", "0x00010003"}},
        {32, {"32-bit Signed Integer PCM", "pcm_s32le", "0x00010004"}}};
    static const std::map<uint32_t, Expected> compressed = {
        {0x0003, {"32-bit Floating Point PCM", "pcm_f32le", "0x00010006"}},
        {0x0006, {"8-bit A-law", "pcm_alaw", "0x00010011"}},
        {0x0007, {"8-bit u-law", "pcm_mulaw", "0x00010010"}},
        {0x0011, {"4-bit IMA ADPCM", "adpcm_ima_wav", "0x00010012"}},
        {0x0002, {"4-bit MS ADPCM", "adpcm_ms", "0x00010013"}},
        {0x0031, {"GSM", "gsm_ms", "0x00010020"}}};
    return format.wFormatTag == 1 ? pcm.at(format.wBitsPerSample)
                                  : compressed.at(format.wFormatTag);
}

/// Frames per codec block: the samples-per-block field of the extra bytes, or 1.
uint32_t FramesPerBlock(const WaveFormatBlock& block) {
    const WAVEFORMATEX format = ReadWaveFormat(block.data());
    if (format.cbSize < 2)
        return 1;
    uint16_t perBlock = 0;
    std::memcpy(&perBlock, block.data() + 18, 2);
    return perBlock;
}

struct RegistryCase {
    uint32_t Rate, Channels;
    WaveFormatBlock Target;
};

std::vector<RegistryCase> EveryRegistryFormat() {
    std::vector<RegistryCase> cases;
    for (const auto& [rate, channels] : {std::pair{8000u, 1u}, std::pair{44100u, 2u}}) {
        std::vector<WaveFormatBlock> formats;
        AudioCompression::System().FormatEnumConvertible(PcmFormat(rate, channels, 16), formats);
        // Every PCM format once (from the stereo source, whose list holds them all), every
        // compressed one from both sources.
        for (const auto& format : formats)
            if (ReadWaveFormat(format.data()).wFormatTag != 1 || channels == 2)
                cases.push_back({rate, channels, format});
    }
    return cases;
}

std::string CaseName(const testing::TestParamInfo<RegistryCase>& info) {
    const WAVEFORMATEX f = ReadWaveFormat(info.param.Target.data());
    return "From" + std::to_string(info.param.Rate) + "x" + std::to_string(info.param.Channels) +
           "Tag" + std::to_string(f.wFormatTag) + "Rate" + std::to_string(f.nSamplesPerSec) +
           "Bits" + std::to_string(f.wBitsPerSample) + "Ch" + std::to_string(f.nChannels);
}

class WAVWriterRegistry : public testing::TestWithParam<RegistryCase> {};

TEST_P(WAVWriterRegistry, EveryFormatIsReadCorrectlyBySoxFfprobeAndSndfile) {
    const RegistryCase c = GetParam();
    const WAVEFORMATEX target = ReadWaveFormat(c.Target.data());
    const uint32_t perBlock = FramesPerBlock(c.Target);
    // An even number of whole codec blocks, for readers that count blocks (libsndfile counts
    // one more GSM block when the data size is odd); about a fifth of a second.
    const uint32_t frames = (c.Rate / 10 / perBlock + 1) * 2 * perBlock;
    TempDir dir;
    const std::string path = dir.File("out.wav");
    WriteThroughWriter(path, PcmFormat(c.Rate, c.Channels, 16), c.Target,
                       AsBytes(Harmonics(frames, 440, c.Rate, c.Channels, 32767.0 * 0.5)), 3000);

    const RiffLayout layout = ReadRiff(path);
    EXPECT_EQ(layout.RiffSize, layout.FileSize - 8);
    int64_t expectedFrames = frames;
    if (target.wFormatTag == 1) {
        EXPECT_EQ(layout.Ids(), (std::vector<std::string>{"fmt ", "data"}));
        expectedFrames = layout.Find("data")->Size / target.nBlockAlign;
        EXPECT_NEAR(double(expectedFrames), double(frames) * target.nSamplesPerSec / c.Rate, 1);
    } else {
        ASSERT_EQ(layout.Ids(), (std::vector<std::string>{"fmt ", "fact", "data"}));
        uint32_t fact = 0;
        std::memcpy(&fact, layout.Find("fact")->Data.data(), 4);
        EXPECT_EQ(fact, frames);
        EXPECT_EQ(layout.Find("data")->Size, frames / perBlock * target.nBlockAlign);
    }
    EXPECT_EQ(0, std::memcmp(layout.Find("fmt ")->Data.data(), c.Target.data(),
                             layout.Find("fmt ")->Size));

    const Expected names = ReaderNames(target);
    const ReaderView sox = SoxView(path);
    EXPECT_EQ(sox.Encoding, names.Sox);
    EXPECT_EQ(sox.Rate, target.nSamplesPerSec);
    EXPECT_EQ(sox.Channels, target.nChannels);
    EXPECT_EQ(sox.Frames, expectedFrames);
    const ReaderView ffprobe = FfprobeView(path);
    EXPECT_EQ(ffprobe.Encoding, names.Ffprobe);
    EXPECT_EQ(ffprobe.Rate, target.nSamplesPerSec);
    EXPECT_EQ(ffprobe.Channels, target.nChannels);
    const ReaderView sndfile = SndfileView(path);
    EXPECT_EQ(sndfile.Encoding, names.Sndfile);
    EXPECT_EQ(sndfile.Rate, target.nSamplesPerSec);
    EXPECT_EQ(sndfile.Channels, target.nChannels);
    EXPECT_EQ(sndfile.Frames, expectedFrames);
}

INSTANTIATE_TEST_SUITE_P(Formats, WAVWriterRegistry, testing::ValuesIn(EveryRegistryFormat()),
                         CaseName);

TEST(WAVWriterRates, EveryOfferedFormatSavesAtLowAndHighRates) {
    // A third of a second and a few frames more, so that the last codec block is partial.
    for (const uint32_t rate : {2000u, 8000u, 44100u, 384000u})
        for (const uint32_t channels : {1u, 2u}) {
            const WAVEFORMATEX source = PcmFormat(rate, channels, 16);
            std::vector<WaveFormatBlock> formats;
            ASSERT_EQ(AudioCompression::System().FormatEnumConvertible(source, formats), 0u);
            const uint32_t frames = rate / 3 + 7;
            const auto input = AsBytes(Harmonics(frames, 440, rate, channels, 32767.0 * 0.5));
            for (const auto& block : formats) {
                const WAVEFORMATEX target = ReadWaveFormat(block.data());
                const std::string name = std::to_string(rate) + "x" + std::to_string(channels) +
                                         " tag " + std::to_string(target.wFormatTag) + " at " +
                                         std::to_string(target.nSamplesPerSec);
                TempDir dir;
                const std::string path = dir.File("out.wav");
                ASSERT_NO_THROW(WriteThroughWriter(path, source, block, input)) << name;
                const RiffLayout layout = ReadRiff(path);
                ASSERT_NE(layout.Find("data"), nullptr) << name;
                if (target.wFormatTag == 1) {
                    EXPECT_NEAR(double(layout.Find("data")->Size / target.nBlockAlign),
                                double(frames) * target.nSamplesPerSec / rate, 2)
                        << name;
                    continue;
                }
                const uint32_t perBlock = FramesPerBlock(block);
                uint32_t fact = 0;
                std::memcpy(&fact, layout.Find("fact")->Data.data(), 4);
                EXPECT_EQ(fact, frames) << name;
                EXPECT_EQ(layout.Find("data")->Size,
                          (frames + perBlock - 1) / perBlock * target.nBlockAlign)
                    << name;
            }
        }
}

} // namespace
