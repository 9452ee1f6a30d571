#include "ClipboardConverter.h"

#include "Exceptions.h"
#include "FileSizeLimit.h"
#include "PcmPieces.h"
#include "SampleRateConverter.h"
#include "Signals.h"
#include "TFilter.h"
#include "TLargeFile.h"
#include "TempFileList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

struct Converted {
    ClipboardConverter::Result Result;
    std::vector<int16_t> Samples; ///< the result file's samples
    std::vector<int32_t> Percents;
};

Converted Convert(PcmPieces& pieces, const std::vector<int16_t>& samples, int32_t inChannels,
                  int32_t inRate, int32_t outChannels, int32_t outRate) {
    auto source = pieces.Table(samples, inChannels, inRate);
    Converted converted;
    converted.Result = ClipboardConverter::Convert(
        *source, outRate, outChannels, [&](int32_t p) { converted.Percents.push_back(p); });
    const std::vector<uint8_t> bytes = ReadWholeFile(converted.Result.DataFile->Path());
    if (!bytes.empty())
        converted.Samples = ToSamples(bytes);
    return converted;
}

/// Rounded mean, halves away from zero, written out independently of the converter.
int16_t Mean(const std::vector<int32_t>& values) {
    double sum = 0;
    for (int32_t v : values)
        sum += v;
    return int16_t(std::round(sum / double(values.size())));
}

} // namespace

TEST(ClipboardConverter, MonoToStereoAtTheSameRateDuplicatesEverySample) {
    PcmPieces pieces;
    const std::vector<int16_t> mono = RawNoise(10000, 1);
    const Converted out = Convert(pieces, mono, 1, 44100, 2, 44100);
    ASSERT_EQ(out.Samples.size(), 2 * mono.size());
    for (size_t f = 0; f < mono.size(); ++f) {
        ASSERT_EQ(out.Samples[2 * f], mono[f]) << f;
        ASSERT_EQ(out.Samples[2 * f + 1], mono[f]) << f;
    }
    EXPECT_EQ(out.Result.Length, int64_t(out.Samples.size() * 2));
    EXPECT_TRUE(TempFiles.Contains(out.Result.DataFile->Path()));
}

TEST(ClipboardConverter, StereoToMonoIsTheRoundedMean) {
    PcmPieces pieces;
    const std::vector<int16_t> stereo{100,    200,    1,     2,      -1, -2, 32767, 32767,
                                      -32768, -32768, 32767, -32768, 0,  0,  -3,    4};
    const std::vector<int16_t> expected{150, 2, -2, 32767, -32768, -1, 0, 1};
    EXPECT_EQ(Convert(pieces, stereo, 2, 22050, 1, 22050).Samples, expected);
}

TEST(ClipboardConverter, ChannelCountsThatSplitBlocksIntoPartialFrames) {
    struct Case {
        int32_t from, to;
    };
    // 2048 samples are no whole number of frames of 3, 5, 6 or 7 channels.
    const std::vector<Case> cases{{3, 2}, {3, 1}, {3, 5}, {5, 2}, {6, 8}, {7, 3}, {2, 7}, {8, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.from) + " to " + std::to_string(c.to));
        PcmPieces pieces;
        const int64_t frames = 3001;
        const std::vector<int16_t> in = RawNoise(size_t(frames * c.from), c.from * 10 + c.to);
        const Converted out = Convert(pieces, in, c.from, 32000, c.to, 32000);
        ASSERT_EQ(out.Samples.size(), size_t(frames * c.to));
        for (int64_t f = 0; f < frames; ++f)
            for (int32_t o = 0; o < c.to; ++o) {
                int16_t expected;
                if (c.to >= c.from) {
                    expected = in[size_t(f * c.from + o % c.from)];
                } else {
                    std::vector<int32_t> mapped;
                    for (int32_t i = o; i < c.from; i += c.to)
                        mapped.push_back(in[size_t(f * c.from + i)]);
                    expected = Mean(mapped);
                }
                ASSERT_EQ(out.Samples[size_t(f * c.to + o)], expected) << f << "/" << o;
            }
    }
}

TEST(ClipboardConverter, EightKilohertzMonoIntoNinetySixTimesMoreOutput) {
    // 2048 input frames become 49,152 frames of 8 channels: 786,432 bytes, more than one output
    // buffer, so the converter must hold back what does not fit.
    PcmPieces pieces;
    const int64_t frames = 3 * 2048 + 100;
    const std::vector<int16_t> in = Sine(frames, 200, 8000, 1, 12000);
    const Converted out = Convert(pieces, in, 1, 8000, 8, 192000);
    ASSERT_EQ(out.Samples.size(), size_t(frames * 24 * 8));
    for (size_t f = 0; f < out.Samples.size() / 8; ++f)
        for (size_t c = 1; c < 8; ++c)
            ASSERT_EQ(out.Samples[f * 8 + c], out.Samples[f * 8]) << f;
    for (size_t f = 24 * 200; f < out.Samples.size() / 8 - 24 * 200; f += 7) {
        const double expected = 12000 * std::sin(2 * std::numbers::pi * 200 * double(f) / 192000);
        ASSERT_NEAR(out.Samples[f * 8], expected, 4.0) << f;
    }
}

TEST(ClipboardConverter, ResampledLengthAndSineMatchTheAnalyticSignal) {
    PcmPieces pieces;
    const int64_t frames = 44100 + 777;
    const std::vector<int16_t> in = Sine(frames, 1000, 44100, 1, 16000);
    const Converted out = Convert(pieces, in, 1, 44100, 1, 48000);
    const auto expectedFrames = int64_t(std::llround(double(frames) * 48000 / 44100));
    ASSERT_EQ(int64_t(out.Samples.size()), expectedFrames);
    for (int64_t k = 1000; k < expectedFrames - 1000; ++k) {
        const double expected = 16000 * std::sin(2 * std::numbers::pi * 1000 * double(k) / 48000);
        ASSERT_NEAR(out.Samples[size_t(k)], expected, 3.0) << k;
    }
}

TEST(ClipboardConverter, ResampledRmsMatchesSox) {
    if (!HaveProgram("sox"))
        GTEST_SKIP() << "sox is not installed";
    PcmPieces pieces;
    const int64_t frames = 2 * 44100;
    const std::vector<int16_t> in = Sine(frames, 1000, 44100, 2, 20000);
    const Converted out = Convert(pieces, in, 2, 44100, 2, 48000);
    const std::string raw = pieces.WriteFile(in);
    const std::string soxOut = pieces.Folder.File("sox.raw");
    RunProgram({"sox", "-t", "raw", "-r", "44100",  "-e", "signed", "-b",   "16",   "-c",   "2",
                raw,   "-t", "raw", "-e", "signed", "-b", "16",     soxOut, "rate", "48000"});
    const std::vector<int16_t> reference = ToSamples(ReadWholeFile(soxOut));
    auto rms = [](const std::vector<int16_t>& s, size_t from, size_t to) {
        double sum = 0;
        for (size_t i = from; i < to; ++i)
            sum += double(s[i]) * s[i];
        return std::sqrt(sum / double(to - from));
    };
    const size_t edge = 2 * 2000;
    ASSERT_GT(reference.size(), 2 * edge);
    const size_t to = std::min(reference.size(), out.Samples.size()) - edge;
    const double ours = rms(out.Samples, edge, to);
    const double theirs = rms(reference, edge, to);
    EXPECT_NEAR(ours, theirs, theirs * 0.001);
    EXPECT_NEAR(ours, 20000 / std::sqrt(2.0), 20.0);
    EXPECT_NEAR(double(out.Samples.size()), double(reference.size()), 2.0);
}

TEST(ClipboardConverter, ProgressRisesFromZeroAndStaysBelowOneHundred) {
    PcmPieces pieces;
    const Converted out = Convert(pieces, RawNoise(2048 * 50 + 5, 3), 1, 44100, 2, 48000);
    ASSERT_EQ(out.Percents.size(), 50u);
    EXPECT_EQ(out.Percents.front(), 0);
    for (size_t b = 0; b < out.Percents.size(); ++b)
        EXPECT_EQ(out.Percents[b], int32_t(b * 100 / 50));
    EXPECT_LT(out.Percents.back(), 100);
}

TEST(ClipboardConverter, IndexDescribesTheWrittenSamples) {
    PcmPieces pieces;
    const Converted out = Convert(pieces, RawNoise(2 * 5000, 4), 2, 44100, 3, 22050);
    TFilter builder(3);
    builder.Feed(out.Samples.data(), int64_t(out.Samples.size()));
    Tindexdata expected;
    builder.GetIndexData(expected);
    EXPECT_EQ(out.Result.Index, expected);
    EXPECT_EQ(out.Result.Index.size(), size_t((out.Samples.size() / 3 + 511) / 512 * 3));
}

TEST(ClipboardConverter, EmptySourceGivesAnEmptyFileAndNoIndex) {
    PcmPieces pieces;
    const Converted out = Convert(pieces, {}, 2, 44100, 1, 48000);
    EXPECT_EQ(out.Result.Length, 0);
    EXPECT_TRUE(out.Samples.empty());
    EXPECT_TRUE(out.Result.Index.empty());
    EXPECT_TRUE(out.Percents.empty());
}

TEST(ClipboardConverter, AFailedConversionDeletesItsPartialFile) {
    PcmPieces pieces;
    auto source = pieces.Table(RawNoise(2 * 100000, 3), 2, 44100);
    const size_t before = pieces.FileCount();
    {
        FileSizeLimit limit(100000); // the result grows to about 435,000 bytes
        EXPECT_THROW(ClipboardConverter::Convert(*source, 48000, 2, {}), EWriteError);
    }
    EXPECT_EQ(pieces.FileCount(), before);
}

TEST(ClipboardConverter, MaxResultBytesBoundsTheResult) {
    PcmPieces pieces;
    for (int32_t rate : {8000, 22050, 48000, 96000}) {
        SCOPED_TRACE(rate);
        auto source = pieces.Table(RawNoise(2 * 12345, rate), 2, 44100);
        const auto result = ClipboardConverter::Convert(*source, rate, 1, {});
        EXPECT_LE(result.Length, ClipboardConverter::MaxResultBytes(*source, rate, 1));
        EXPECT_GE(result.Length, ClipboardConverter::MaxResultBytes(*source, rate, 1) - 2);
    }
}

TEST(ClipboardConverter, ResampledLengthIsTheRoundedRatio) {
    struct Case {
        int64_t frames;
        int32_t from, to, channels;
    };
    const std::vector<Case> cases{{1000, 44100, 48000, 2},
                                  {2048 * 3 + 1, 44100, 48000, 1},
                                  {99999, 48000, 44100, 2},
                                  {5000, 22050, 44100, 3},
                                  {12345, 96000, 8000, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.frames) + " frames " + std::to_string(c.from) + " to " +
                     std::to_string(c.to));
        PcmPieces pieces;
        const Converted out =
            Convert(pieces, RawNoise(size_t(c.frames * c.channels), int(c.frames)), c.channels,
                    c.from, c.channels, c.to);
        EXPECT_EQ(int64_t(out.Samples.size()) / c.channels,
                  std::llround(double(c.frames) * c.to / c.from));
    }
}

TEST(ClipboardConverter, PartialFramesCarriedAcrossBlocksResampleLikeOneWholeInput) {
    for (int32_t channels : {3, 5, 6, 7}) {
        SCOPED_TRACE(channels);
        PcmPieces pieces;
        const std::vector<int16_t> in = Sine(9000, 700, 44100, channels, 15000);
        const Converted blocks = Convert(pieces, in, channels, 44100, channels, 48000);
        SampleRateConverter whole(44100, 48000, uint32_t(channels), uint32_t(channels));
        std::vector<int16_t> out(200000);
        int32_t bytes =
            whole.Process(in.data(), int32_t(in.size() * 2), out.data(), int32_t(out.size() * 2));
        for (int32_t more = 1; more > 0; bytes += more)
            more = whole.Flush(out.data() + bytes / 2, int32_t(out.size() * 2) - bytes);
        out.resize(size_t(bytes / 2));
        EXPECT_EQ(blocks.Samples, out);
    }
}
