// Every sample-processing edit over ranges at and around the hand-off block size (16384 frames)
// for several channel counts, against a plain model of the samples and a fresh build of the peak
// index.

#include "SampleEditFixture.h"

#include "TGainTable.h"

#include <algorithm>
#include <tuple>

namespace {

enum class Edit { FadeIn, FadeOut, Amplify, Normalize, Reverse, Invert };

std::string EditName(Edit edit) {
    switch (edit) {
    case Edit::FadeIn:
        return "FadeIn";
    case Edit::FadeOut:
        return "FadeOut";
    case Edit::Amplify:
        return "Amplify";
    case Edit::Normalize:
        return "Normalize";
    case Edit::Reverse:
        return "Reverse";
    case Edit::Invert:
        return "Invert";
    }
    return "";
}

/// A fade range starts inside a peak block and ends inside another, with frames after it.
constexpr int64_t FadeStart = 300;
constexpr int64_t FadeTail = 700;

std::vector<int16_t> ModelGain(std::vector<int16_t> samples, float gain) {
    for (int16_t& sample : samples)
        sample = std::clamp<int16_t>(ExactRound(sample, double(gain)), -32767, 32767);
    return samples;
}

std::vector<int16_t> ModelReverse(const std::vector<int16_t>& samples, int32_t channels) {
    std::vector<int16_t> reversed(samples.size());
    const size_t frames = samples.size() / size_t(channels);
    for (size_t f = 0; f < frames; ++f)
        for (int32_t c = 0; c < channels; ++c)
            reversed[(frames - 1 - f) * channels + c] = samples[f * channels + c];
    return reversed;
}

std::vector<int16_t> ModelInvert(std::vector<int16_t> samples) {
    for (int16_t& sample : samples)
        sample = sample == -32768 ? sample : int16_t(-sample);
    return samples;
}

/// The index after a reverse, frame by frame: each new block takes the largest maximum and the
/// smallest minimum of the old block of every frame it now holds.
Tindexdata ReversedIndex(const Tindexdata& index, int64_t frames, int32_t channels) {
    Tindexdata reversed(size_t((frames + 511) / 512 * channels), MakeIndexElement(-32768, 32767));
    for (int64_t f = 0; f < frames; ++f)
        for (int32_t c = 0; c < channels; ++c) {
            uint32_t& to = reversed[size_t(f / 512 * channels + c)];
            const uint32_t from = index[size_t((frames - 1 - f) / 512 * channels + c)];
            to = MakeIndexElement(std::max(IndexMaximum(to), IndexMaximum(from)),
                                  std::min(IndexMinimum(to), IndexMinimum(from)));
        }
    return reversed;
}

using Case = std::tuple<Edit, int32_t, int64_t>; // edit, channels, frames in the range

class SampleEditBlocks : public SampleEditTest, public testing::WithParamInterface<Case> {};

} // namespace

TEST_P(SampleEditBlocks, SamplesPeaksAndLevelsFollowTheModel) {
    const auto [edit, channels, range] = GetParam();
    const bool fade = edit == Edit::FadeIn || edit == Edit::FadeOut;
    const int64_t frames = fade ? FadeStart + range + FadeTail : range;
    const std::vector<int16_t> source = TestSignal(frames, channels, uint32_t(range + channels));
    Load(channels, source);
    const Tindexdata loadedIndex = Document.peakindex;

    std::vector<int16_t> expected;
    Tindexdata expectedIndex;
    bool started = false;
    switch (edit) {
    case Edit::FadeIn:
    case Edit::FadeOut:
        started = edit == Edit::FadeIn ? Document.fadein(FadeStart, FadeStart + range)
                                       : Document.fadeout(FadeStart, FadeStart + range);
        expected = ModelFade(source, channels, FadeStart, FadeStart + range, edit == Edit::FadeIn);
        break;
    case Edit::Amplify:
        started = Document.amplify(80);
        expected = ModelGain(source, 0.8f);
        break;
    case Edit::Normalize:
        // The test signal peaks at full scale: 50 % of 32768 / 32767.
        started = Document.normalize(50);
        expected = ModelGain(source, float(0.5L * 32768.0L / 32767.0L));
        break;
    case Edit::Reverse:
        started = Document.reverse();
        expected = ModelReverse(source, channels);
        expectedIndex = ReversedIndex(loadedIndex, frames, channels);
        break;
    case Edit::Invert:
        started = Document.invert();
        expected = ModelInvert(source);
        break;
    }
    if (expectedIndex.empty())
        expectedIndex = BuilderIndex(expected, channels);
    ASSERT_TRUE(started);
    ASSERT_TRUE(Ui.Errors.Messages.empty()) << Ui.Errors.Messages.front();
    EXPECT_TRUE(Document.ready);
    EXPECT_EQ(Document.frames, uint32_t(frames));
    const std::vector<int16_t> actual = Samples();
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_TRUE(actual == expected)
        << "first difference at sample "
        << std::mismatch(actual.begin(), actual.end(), expected.begin()).first - actual.begin();
    EXPECT_EQ(Document.peakindex, expectedIndex);

    // Levels as the peak index says; reverse keeps the loaded ones.
    Twavefile fresh;
    fresh.channels = uint16_t(channels);
    fresh.peakindex = edit == Edit::Reverse ? loadedIndex : BuilderIndex(expected, channels);
    fresh.updatelevels();
    EXPECT_EQ(Document.peak, fresh.peak);
    EXPECT_EQ(Document.peaks, fresh.peaks);
    EXPECT_DOUBLE_EQ(Document.leveldb, fresh.leveldb);
}

INSTANTIATE_TEST_SUITE_P(AllEdits, SampleEditBlocks,
                         testing::Combine(testing::Values(Edit::FadeIn, Edit::FadeOut,
                                                          Edit::Amplify, Edit::Normalize,
                                                          Edit::Reverse, Edit::Invert),
                                          testing::Values(1, 2, 3, 8),
                                          testing::Values(int64_t(16383), int64_t(16384),
                                                          int64_t(16385), int64_t(32768))),
                         [](const testing::TestParamInfo<Case>& info) {
                             return EditName(std::get<0>(info.param)) + "_" +
                                    std::to_string(std::get<1>(info.param)) + "ch_" +
                                    std::to_string(std::get<2>(info.param));
                         });
