// Normalise after structural edits and reverse: its gain comes from the samples themselves, so a
// loud click that an edit moved between peak blocks is never clipped, and the peak index the
// edits leave never shows less than the audio holds.

#include "AudioClipboard.h"
#include "SampleEditFixture.h"
#include "StructuralEdits.h"
#include "TFilter.h"

#include <algorithm>
#include <cmath>

namespace {

using Samples16 = std::vector<int16_t>;

/// A quiet tone of ±1000 with one click of 30000 at `click`.
Samples16 ToneWithClick(int64_t frames, int64_t click) {
    Samples16 samples(static_cast<size_t>(frames));
    for (int64_t f = 0; f < frames; ++f)
        samples[size_t(f)] = int16_t(std::lround(1000 * std::sin(0.05 * double(f))));
    samples[size_t(click)] = 30000;
    return samples;
}

/// Every sample scaled by the gain that takes `peak` to full scale, as normalise at 100 % does.
Samples16 Normalised(Samples16 samples, int16_t peak) {
    const float gain = float(32768.0L / peak);
    for (int16_t& s : samples)
        s = std::clamp<int16_t>(ExactRound(s, double(gain)), -32767, 32767);
    return samples;
}

class NormaliseAfterEdits : public SampleEditTest {
protected:
    NormaliseAfterEdits() {
        StructuralEdits::Register();
        AudioClipboard::Free();
    }
    ~NormaliseAfterEdits() override { AudioClipboard::Free(); }

    /// The document's index reaches, in every block, at least as far as its samples do.
    void ExpectIndexCoversTheAudio() {
        const Tindexdata exact = BuilderIndex(Samples(), 1);
        ASSERT_EQ(Document.peakindex.size(), exact.size());
        for (size_t b = 0; b < exact.size(); ++b) {
            EXPECT_GE(IndexMaximum(Document.peakindex[b]), IndexMaximum(exact[b])) << b;
            EXPECT_LE(IndexMinimum(Document.peakindex[b]), IndexMinimum(exact[b])) << b;
        }
    }

    /// Normalises to 100 % and checks that only the click reaches full scale.
    void ExpectNormaliseKeepsTheClickUnclipped() {
        const Samples16 before = Samples();
        const int16_t peak = *std::max_element(before.begin(), before.end());
        ASSERT_EQ(peak, 30000);
        ASSERT_TRUE(Document.normalize(100));
        const Samples16 after = Samples();
        EXPECT_EQ(after, Normalised(before, peak));
        EXPECT_EQ(std::count(after.begin(), after.end(), int16_t(32767)), 1);
        EXPECT_EQ(Document.peak, 32767);
    }
};

} // namespace

TEST_F(NormaliseAfterEdits, ClickBesideADelete) {
    // The click sits in the block that holds the start of the delete.
    Load(1, ToneWithClick(4096, 590));
    ASSERT_TRUE(Document.deleterange(600, 1200));
    ExpectIndexCoversTheAudio();
    EXPECT_EQ(Document.peak, 30000);
    ExpectNormaliseKeepsTheClickUnclipped();
}

TEST_F(NormaliseAfterEdits, PasteThenDelete) {
    Load(1, ToneWithClick(3000, 1100));
    ASSERT_TRUE(Document.copy(1000, 1200));
    Samples16 quiet = ToneWithClick(2000, 0);
    quiet[0] = 0;
    Load(1, quiet);
    ASSERT_TRUE(Document.paste(1300));
    ExpectIndexCoversTheAudio();
    ASSERT_TRUE(Document.deleterange(0, 100));
    ExpectIndexCoversTheAudio();
    ExpectNormaliseKeepsTheClickUnclipped();
}

TEST_F(NormaliseAfterEdits, ReverseThenCut) {
    // 1636 frames: the reversed blocks no longer fall on the old ones; the click moves to 75.
    Load(1, ToneWithClick(1636, 1560));
    ASSERT_TRUE(Document.reverse());
    ExpectIndexCoversTheAudio();
    ASSERT_TRUE(Document.cut(100, 600));
    ExpectIndexCoversTheAudio();
    ExpectNormaliseKeepsTheClickUnclipped();
}

TEST_F(NormaliseAfterEdits, GainComesFromTheSamplesEvenWhenTheIndexShowsMore) {
    // Deleting the click leaves its block's extremes in the index, but not in the audio.
    Load(1, ToneWithClick(4096, 700));
    ASSERT_TRUE(Document.deleterange(650, 750));
    EXPECT_EQ(Document.peak, 30000);
    const Samples16 before = Samples();
    const int16_t peak = *std::max_element(before.begin(), before.end());
    ASSERT_EQ(peak, 1000);
    ASSERT_TRUE(Document.normalize(50));
    EXPECT_FLOAT_EQ(Document.gain, float(0.5L * 32768.0L / 1000.0L));
    const Samples16 after = Samples();
    EXPECT_EQ(*std::max_element(after.begin(), after.end()), 16384);
}
