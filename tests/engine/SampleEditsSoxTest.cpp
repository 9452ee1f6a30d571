// The sample-processing edits against sox doing the same effect on the same samples.

#include "SampleEditFixture.h"

#include <cmath>

namespace {

using Samples16 = std::vector<int16_t>;

class SampleEditsSox : public SampleEditTest {
protected:
    void SetUp() override {
        if (!HaveProgram("sox"))
            GTEST_SKIP() << "sox is not installed";
    }

    /// sox on `samples` as a 44.1 kHz WAV, with the given effect, as raw 16-bit samples; no
    /// dither (-D).
    Samples16 Sox(int32_t channels, const Samples16& samples, std::vector<std::string> effect) {
        const std::string in = Dir.File("sox-in" + std::to_string(++Runs) + ".wav");
        const std::string out = Dir.File("sox-out" + std::to_string(Runs) + ".raw");
        WriteSampleFile(in, channels, 44100, samples);
        std::vector<std::string> argv{"sox", "-D",     in,   "-t", "raw",
                                      "-e",  "signed", "-b", "16", out};
        argv.insert(argv.end(), effect.begin(), effect.end());
        RunProgram(argv);
        return ToSamples(ReadWholeFile(out));
    }

    int Runs = 0;
};

std::string Text(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

/// Our gain and sox's vol agree except where the exact product lies within sox's 32-bit working
/// precision (2^-16) of a half-integer (we round the exact product to even, sox rounds twice and
/// halves up) or clips (we clip at −32767, sox at −32768).
void ExpectGainAgrees(const Samples16& source, const Samples16& ours, const Samples16& sox,
                      float gain) {
    ASSERT_EQ(ours.size(), source.size());
    ASSERT_EQ(sox.size(), source.size());
    size_t compared = 0;
    for (size_t i = 0; i < source.size(); ++i) {
        const double exact = double(source[i]) * double(gain); // exact in double precision
        const double fraction = std::fabs(exact - std::trunc(exact));
        if (std::fabs(exact) >= 32766.5 || std::fabs(fraction - 0.5) <= 1.0 / 65536)
            continue;
        ++compared;
        ASSERT_EQ(ours[i], sox[i]) << "sample " << i << " = " << source[i];
    }
    EXPECT_GT(compared, source.size() / 2);
}

/// Samples of ours and sox's that differ by at most one step, and that rarely.
void ExpectClose(const Samples16& ours, const Samples16& sox, size_t oursFirst, size_t soxFirst,
                 size_t count) {
    size_t differing = 0;
    for (size_t i = 0; i < count; ++i) {
        const int difference = ours[oursFirst + i] - sox[soxFirst + i];
        ASSERT_LE(std::abs(difference), 1) << "sample " << oursFirst + i;
        differing += difference != 0;
    }
    EXPECT_LT(differing, count / 1000 + 1);
}

} // namespace

TEST_F(SampleEditsSox, ReverseIsBitIdenticalToSox) {
    for (const int32_t channels : {1, 2, 3}) {
        const Samples16 source = TestSignal(30001, channels, uint32_t(channels));
        Load(channels, source);
        ASSERT_TRUE(Document.reverse());
        EXPECT_EQ(Samples(), Sox(channels, source, {"reverse"})) << channels << " channels";
    }
}

TEST_F(SampleEditsSox, AmplifyAgreesWithSoxVolume) {
    const Samples16 source = TestSignal(40000, 2, 8);
    for (const int32_t percent : {80, 37, 110}) {
        Load(2, source);
        ASSERT_TRUE(Document.amplify(percent));
        const float gain = Document.gain;
        ExpectGainAgrees(source, Samples(), Sox(2, source, {"vol", Text(gain)}), gain);
    }
}

TEST_F(SampleEditsSox, NormaliseAgreesWithSoxVolumeOfTheSameGain) {
    const Samples16 source = TestSignal(20000, 1, 12);
    Load(1, source);
    ASSERT_TRUE(Document.normalize(70));
    const float gain = Document.gain;
    EXPECT_FLOAT_EQ(gain, float(0.7 * 32768 / 32767));
    ExpectGainAgrees(source, Samples(), Sox(1, source, {"vol", Text(gain)}), gain);
}

TEST_F(SampleEditsSox, InvertAgreesWithSoxVolumeMinusOne) {
    Samples16 source = TestSignal(20000, 2, 13);
    std::replace(source.begin(), source.end(), int16_t(-32768), int16_t(-32767));
    Load(2, source);
    ASSERT_TRUE(Document.invert());
    EXPECT_EQ(Samples(), Sox(2, source, {"vol", "-1"}));
}

// sox's quarter-sine fade gives frame k of an n-frame fade sin(k / n × 90°), ours
// sin((k + 1) / n × 90°): ours equals sox's one frame later. With that shift the two agree to one
// step (sox scales in 32-bit and rounds halves up), and differ in fewer than 0.1 % of the samples.

TEST_F(SampleEditsSox, FadeInAgreesWithSoxQuarterSineOneFrameLater) {
    const int32_t channels = 2;
    const int64_t n = 30000;
    const Samples16 source = TestSignal(40000, channels, 14);
    Load(channels, source);
    ASSERT_TRUE(Document.fadein(0, n));
    const Samples16 ours = Samples();
    // One silent frame in front moves sox's curve one frame later.
    Samples16 shifted(size_t(channels), 0);
    shifted.insert(shifted.end(), source.begin(), source.end());
    const Samples16 sox = Sox(channels, shifted, {"fade", "q", std::to_string(n) + "s"});
    ASSERT_EQ(sox.size(), shifted.size());
    ExpectClose(ours, sox, 0, channels, size_t((n - 1) * channels));
    EXPECT_TRUE(std::equal(ours.begin() + (n - 1) * channels, ours.end(),
                           source.begin() + (n - 1) * channels));
}

TEST_F(SampleEditsSox, FadeOutAgreesWithSoxQuarterSineOneFrameLater) {
    const int32_t channels = 1;
    const int64_t frames = 40000;
    const int64_t n = 25000;
    const Samples16 source = TestSignal(frames, channels, 15);
    Load(channels, source);
    ASSERT_TRUE(Document.fadeout(frames - n, frames));
    const Samples16 ours = Samples();
    // sox's fade-out ending one frame early (where it also stops the audio) puts its curve one
    // frame later than ours.
    const Samples16 sox =
        Sox(channels, source,
            {"fade", "q", "0", std::to_string(frames - 1) + "s", std::to_string(n) + "s"});
    ASSERT_EQ(sox.size(), size_t(frames - 1));
    EXPECT_TRUE(std::equal(ours.begin(), ours.begin() + (frames - n), source.begin()));
    ExpectClose(ours, sox, size_t(frames - n), size_t(frames - n), size_t(n - 1));
    EXPECT_EQ(ours.back(), 0);
}
