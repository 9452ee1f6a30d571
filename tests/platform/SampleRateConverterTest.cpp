// The 16-bit rate and channel converter: channel mixing against a plain model, resampling
// against sox, and its byte-level contract (partial frames, capacity, flush until empty).
#include "SampleRateConverter.h"

#include "Signals.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

/// Runs `input` through a converter in pieces of `piece` bytes with `capacity` bytes of output
/// room per call, then flushes until it is empty.
std::vector<int16_t> Convert(SampleRateConverter& converter, const std::vector<int16_t>& input,
                             size_t piece, int32_t capacity) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(input.data());
    const size_t total = input.size() * 2;
    std::vector<uint8_t> out;
    std::vector<uint8_t> room(static_cast<size_t>(capacity));
    for (size_t at = 0; at < total; at += piece) {
        const int32_t n = converter.Process(bytes + at, int32_t(std::min(piece, total - at)),
                                            room.data(), capacity);
        EXPECT_LE(n, capacity);
        EXPECT_EQ(n % int32_t(converter.OutFrameBytes()), 0);
        out.insert(out.end(), room.begin(), room.begin() + n);
    }
    for (int32_t n; (n = converter.Flush(room.data(), capacity)) > 0;)
        out.insert(out.end(), room.begin(), room.begin() + n);
    return ToSamples(out);
}

/// The plain model of channel conversion: mono is the average (truncated), stereo from mono
/// repeats, equal counts copy.
std::vector<int16_t> MixModel(const std::vector<int16_t>& in, uint32_t from, uint32_t to) {
    std::vector<int16_t> out;
    for (size_t f = 0; f < in.size() / from; ++f)
        for (uint32_t c = 0; c < to; ++c) {
            if (to == 1) {
                int32_t sum = 0;
                for (uint32_t i = 0; i < from; ++i)
                    sum += in[f * from + i];
                out.push_back(int16_t(sum / int32_t(from)));
            } else if (from == 1) {
                out.push_back(in[f]);
            } else {
                out.push_back(in[f * from + c]);
            }
        }
    return out;
}

struct MixCase {
    uint32_t From, To;
    size_t Piece;
    int32_t Capacity;
};

class SampleRateConverterMix : public testing::TestWithParam<MixCase> {};

TEST_P(SampleRateConverterMix, SameRateOnlyMixesChannels) {
    const MixCase c = GetParam();
    const auto input = Ramp(size_t(c.From) * 3001, -32768, 7919);
    SampleRateConverter converter(44100, 44100, c.From, c.To);
    EXPECT_EQ(Convert(converter, input, c.Piece, c.Capacity), MixModel(input, c.From, c.To));
}

INSTANTIATE_TEST_SUITE_P(Channels, SampleRateConverterMix,
                         testing::Values(MixCase{2, 2, 4096, 524288}, MixCase{2, 1, 4096, 4096},
                                         MixCase{1, 2, 3, 100}, MixCase{6, 1, 1001, 6},
                                         MixCase{1, 1, 1, 2}, MixCase{2, 1, 5, 2}));

TEST(SampleRateConverter, OutputThatDoesNotFitIsKeptForTheNextCall) {
    const auto input = Ramp(2 * 1000, -32768, 7919);
    SampleRateConverter converter(8000, 8000, 2, 2);
    std::vector<uint8_t> room(400);
    EXPECT_EQ(converter.Process(input.data(), 4000, room.data(), 400), 400);
    EXPECT_EQ(converter.Process(input.data(), 0, room.data(), 2), 0); // less than a frame
    EXPECT_EQ(converter.Flush(room.data(), 400), 400);
    EXPECT_EQ(0, std::memcmp(room.data(), input.data() + 200, 400));
}

struct RateCase {
    uint32_t InRate, OutRate, Channels;
};

class SampleRateConverterRate : public testing::TestWithParam<RateCase> {};

TEST_P(SampleRateConverterRate, MatchesSoxInLengthAndKeepsTheTone) {
    const RateCase c = GetParam();
    const auto mono = Sine(c.InRate + 333, 997, c.InRate, 1, 16000);
    std::vector<int16_t> input;
    for (const int16_t s : mono)
        input.insert(input.end(), c.Channels, s);
    TempDir dir;
    WriteWholeFile(
        dir.File("in.raw"),
        std::vector<uint8_t>(reinterpret_cast<const uint8_t*>(input.data()),
                             reinterpret_cast<const uint8_t*>(input.data() + input.size())));
    const std::string raw =
        RunProgram({"sox", "-D", "-t", "raw", "-r", std::to_string(c.InRate), "-e", "signed", "-b",
                    "16", "-c", std::to_string(c.Channels), dir.File("in.raw"), "-t", "raw", "-r",
                    std::to_string(c.OutRate), "-"});
    const size_t soxSamples = raw.size() / 2;

    SampleRateConverter bulk(c.InRate, c.OutRate, c.Channels, c.Channels);
    const auto whole = Convert(bulk, input, input.size() * 2, 1 << 22);
    SampleRateConverter pieces(c.InRate, c.OutRate, c.Channels, c.Channels);
    const auto chunked = Convert(pieces, input, 4095, 512);
    EXPECT_EQ(whole.size(), soxSamples);
    EXPECT_EQ(chunked, whole);
    // Away from the edges the tone keeps its amplitude: peak near 16000.
    int16_t peak = 0;
    for (size_t i = whole.size() / 4; i < whole.size() * 3 / 4; ++i)
        peak = std::max<int16_t>(peak, int16_t(std::abs(whole[i])));
    EXPECT_NEAR(peak, 16000, 300);
}

INSTANTIATE_TEST_SUITE_P(Rates, SampleRateConverterRate,
                         testing::Values(RateCase{44100, 48000, 2}, RateCase{48000, 44100, 1},
                                         RateCase{8000, 44100, 1}, RateCase{96000, 8000, 2},
                                         RateCase{22050, 11025, 2}));

TEST(SampleRateConverter, MaxOutputBytesCoversTheWholeStream) {
    const auto input = Ramp(2 * 44100, -32768, 7919);
    SampleRateConverter converter(44100, 96000, 2, 2);
    const uint64_t bound = converter.MaxOutputBytes(input.size() * 2);
    const auto out = Convert(converter, input, input.size() * 2, 1 << 22);
    EXPECT_LE(out.size() * 2, bound);
    EXPECT_GE(out.size() * 2, 96000u * 4);
}

TEST(SampleRateConverter, RefusesChannelCountsOutsideOneToEight) {
    EXPECT_THROW(SampleRateConverter(44100, 48000, 0, 2), std::exception);
    EXPECT_THROW(SampleRateConverter(44100, 48000, 2, 9), std::exception);
    EXPECT_THROW(SampleRateConverter(0, 48000, 2, 2), std::exception);
}

} // namespace
