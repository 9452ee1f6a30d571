// The sample-processing edits through the document: hand-computed values, the requests' guards,
// progress, undo and redo, and the result files.

#include "SampleEditFixture.h"

#include "TempFileList.h"

#include <algorithm>

namespace {

using Samples16 = std::vector<int16_t>;
using Strings = std::vector<std::string>;

class SampleEdits : public SampleEditTest {};

/// The data file of the document's one new piece.
const TChunk& OnlyPiece(const Twavefile& document) {
    EXPECT_EQ(document.table->Chunks.size(), 1u);
    return document.table->Chunks.front();
}

} // namespace

TEST_F(SampleEdits, FadeInOverFourFramesScalesBySinesOfQuarterSteps) {
    Load(1, {10000, 10000, 10000, 10000, -20000});
    ASSERT_TRUE(Document.fadein(0, 4));
    // sin 22.5°, 45°, 67.5°, 90°.
    EXPECT_EQ(Samples(), (Samples16{3827, 7071, 9239, 10000, -20000}));
}

TEST_F(SampleEdits, FadeOutOverFourFramesScalesByCosinesOfQuarterSteps) {
    Load(2, {-1, 10000, 10000, -10000, 10000, 10000, 10000, 10000, 10000, 32767});
    ASSERT_TRUE(Document.fadeout(1, 5));
    EXPECT_EQ(Samples(), (Samples16{-1, 10000, 9239, -9239, 7071, 7071, 3827, 3827, 0, 0}));
}

TEST_F(SampleEdits, FadeOverOneFrame) {
    Load(1, {5, 12345, 7});
    ASSERT_TRUE(Document.fadein(1, 2));
    EXPECT_EQ(Samples(), (Samples16{5, 12345, 7}));
    ASSERT_TRUE(Document.fadeout(1, 2));
    EXPECT_EQ(Samples(), (Samples16{5, 0, 7}));
}

TEST_F(SampleEdits, FadeChangesNothingOutsideItsRangeAndKeepsTheLength) {
    const Samples16 source = TestSignal(5000, 2, 11);
    Load(2, source);
    ASSERT_TRUE(Document.fadeout(1000, 4000));
    const Samples16 after = Samples();
    ASSERT_EQ(after.size(), source.size());
    EXPECT_TRUE(std::equal(source.begin(), source.begin() + 2000, after.begin()));
    EXPECT_TRUE(std::equal(source.begin() + 8000, source.end(), after.begin() + 8000));
    EXPECT_EQ(after, ModelFade(source, 2, 1000, 4000, false));
    EXPECT_EQ(Document.frames, 5000u);
    // The faded frames are one headerless piece between the unchanged ones.
    ASSERT_EQ(Document.table->Chunks.size(), 3u);
    const TChunk& faded = Document.table->Chunks[1];
    EXPECT_EQ(faded.Offset, 0);
    EXPECT_EQ(faded.Length, 3000 * 4);
    EXPECT_EQ(ReadWholeFile(faded.DataFile->Path()).size(), 3000u * 4u);
    EXPECT_TRUE(TempFiles.Contains(faded.DataFile->Path()));
}

TEST_F(SampleEdits, FadePeaksCoverTheUnchangedFramesOfTheTouchedBlocks) {
    // Frames 0 … 99 and 900 … 1499 hold a loud value that the fade does not touch.
    Samples16 source(1500, 1000);
    std::fill(source.begin(), source.begin() + 100, 30000);
    std::fill(source.begin() + 900, source.end(), -30000);
    Load(1, source);
    ASSERT_TRUE(Document.fadein(100, 900));
    const Samples16 after = Samples();
    EXPECT_EQ(Document.peakindex, BuilderIndex(after, 1));
    EXPECT_EQ(IndexMaximum(Document.peakindex[0]), 30000);
    EXPECT_EQ(IndexMinimum(Document.peakindex[1]), -30000);
}

TEST_F(SampleEdits, FadeEndingAtTheLastFrame) {
    const Samples16 source = TestSignal(700, 3, 5);
    Load(3, source);
    ASSERT_TRUE(Document.fadeout(600, 700));
    EXPECT_EQ(Samples(), ModelFade(source, 3, 600, 700, false));
    EXPECT_EQ(Document.peakindex, BuilderIndex(Samples(), 3));
    EXPECT_TRUE(Ui.Errors.Messages.empty());
}

TEST_F(SampleEdits, NormaliseToFullScaleDoublesAFileThatPeaksAtHalfScale) {
    Load(1, {100, 16384, -16384, -3, 0, 8191});
    ASSERT_TRUE(Document.normalize(100));
    EXPECT_FLOAT_EQ(Document.gain, 2.0f);
    EXPECT_EQ(Document.normalizepercent, 100);
    EXPECT_EQ(Samples(), (Samples16{200, 32767, -32767, -6, 0, 16382}));
    EXPECT_EQ(Document.peak, 32767);
    EXPECT_DOUBLE_EQ(Document.leveldb, 0.0);
    EXPECT_TRUE(Document.gaintable.empty());
}

TEST_F(SampleEdits, AmplifyByTwiceClipsAtFullScale) {
    Load(2, {20000, -20000, 16383, -16384, 1, -32768});
    ASSERT_TRUE(Document.amplify(200));
    EXPECT_EQ(Document.amplifypercent, 200);
    EXPECT_EQ(Samples(), (Samples16{32767, -32767, 32766, -32767, 2, -32767}));
}

TEST_F(SampleEdits, AmplifyByHalfAgainHandComputed) {
    Load(1, {3, 5, -3, 1001, 10000, 30000, -32768});
    ASSERT_TRUE(Document.amplify(150));
    EXPECT_EQ(Samples(), (Samples16{4, 8, -4, 1502, 15000, 32767, -32767}));
}

TEST_F(SampleEdits, AmplifyByHundredOnlyLiftsTheLowestValue) {
    Load(1, {-32768, -32767, 0, 32767, 5});
    ASSERT_TRUE(Document.amplify(100));
    EXPECT_EQ(Samples(), (Samples16{-32767, -32767, 0, 32767, 5}));
}

TEST_F(SampleEdits, ReverseTwiceGivesTheInputBack) {
    const Samples16 source = TestSignal(3000, 2, 9);
    Load(2, source);
    ASSERT_TRUE(Document.reverse());
    EXPECT_EQ(Samples()[0], source[source.size() - 2]);
    EXPECT_EQ(Samples()[1], source[source.size() - 1]);
    ASSERT_TRUE(Document.reverse());
    EXPECT_EQ(Samples(), source);
}

TEST_F(SampleEdits, ReverseOfOneFrameKeepsIt) {
    Load(3, {1, -2, 3});
    ASSERT_TRUE(Document.reverse());
    EXPECT_EQ(Samples(), (Samples16{1, -2, 3}));
}

TEST_F(SampleEdits, ReverseAndInvertWriteFortyFourZeroBytesThenTheSamples) {
    Load(2, {1, 2, 3, 4, 5, 6});
    for (const bool reverse : {true, false}) {
        ASSERT_TRUE(reverse ? Document.reverse() : Document.invert());
        const TChunk& piece = OnlyPiece(Document);
        EXPECT_EQ(piece.Offset, 44);
        EXPECT_EQ(piece.Length, 12);
        EXPECT_EQ(piece.Kind, TChunk::FileBacked);
        const std::vector<uint8_t> bytes = ReadWholeFile(piece.DataFile->Path());
        ASSERT_EQ(bytes.size(), 44u + 12u);
        EXPECT_TRUE(
            std::all_of(bytes.begin(), bytes.begin() + 44, [](uint8_t b) { return b == 0; }));
        EXPECT_TRUE(TempFiles.Contains(piece.DataFile->Path()));
    }
    EXPECT_EQ(Samples(), (Samples16{-5, -6, -3, -4, -1, -2}));
}

TEST_F(SampleEdits, InvertTwiceGivesTheInputBackAndKeepsTheLowestValue) {
    const Samples16 source{-32768, 32767, 0, 1, -1, 12345};
    Load(1, source);
    ASSERT_TRUE(Document.invert());
    EXPECT_EQ(Samples(), (Samples16{-32768, -32767, 0, -1, 1, -12345}));
    // A block that holds −32768 is described by the written samples, not by negated extremes.
    EXPECT_EQ(Document.peakindex, BuilderIndex(Samples(), 1));
    ASSERT_TRUE(Document.invert());
    EXPECT_EQ(Samples(), source);
}

TEST_F(SampleEdits, InvertOfANegativeBlockGivesItsFreshIndex) {
    Load(1, Samples16(600, -100));
    ASSERT_TRUE(Document.invert());
    // Negating the old element (max 0, min −100) would give a minimum of 0.
    EXPECT_EQ(IndexMaximum(Document.peakindex[0]), 100);
    EXPECT_EQ(IndexMinimum(Document.peakindex[0]), 100);
}

TEST_F(SampleEdits, ReversePeaksKeepEveryBlockTheirFramesCameFrom) {
    Samples16 source(1024 + 512 + 100, 0);
    source[10] = 1000;    // block 0
    source[600] = -2000;  // block 1
    source[1100] = 3000;  // block 2
    source[1600] = -4000; // block 3 (partial)
    Load(1, source);
    ASSERT_TRUE(Document.reverse());
    // 1636 frames: new block 0 holds old frames 1635 … 1124 (old blocks 3 and 2), and so on.
    EXPECT_EQ(Document.peakindex,
              (Tindexdata{MakeIndexElement(3000, -4000), MakeIndexElement(3000, -2000),
                          MakeIndexElement(1000, -2000), MakeIndexElement(1000, 0)}));
    EXPECT_EQ(Document.peak, 4000);
}

TEST_F(SampleEdits, ReversePeaksAreAFreshBuildForWholeBlocks) {
    const Samples16 source = TestSignal(2048, 2, 4);
    Load(2, source);
    ASSERT_TRUE(Document.reverse());
    EXPECT_EQ(Document.peakindex, BuilderIndex(Samples(), 2));
}

TEST_F(SampleEdits, RequestsRefuseBadRangesAndStoreTheirValues) {
    Load(1, Samples16(100, 5));
    struct Case {
        int64_t Start;
        int64_t End;
    };
    for (const Case c : {Case{10, 10}, Case{20, 10}, Case{-1, 10}, Case{0, 101}, Case{100, 101}}) {
        EXPECT_FALSE(Document.fadein(c.Start, c.End));
        EXPECT_EQ(Document.startframe, c.Start);
        EXPECT_EQ(Document.endframe, c.End);
        EXPECT_FALSE(Document.fadeout(c.Start, c.End));
    }
    EXPECT_EQ(Ui.Progress.Shown, 1); // the load only
    EXPECT_EQ(Document.undostack.size(), 0u);
    EXPECT_TRUE(Document.fadein(99, 100));
}

TEST_F(SampleEdits, GainRequestsRefuseSilence) {
    Load(2, Samples16(50, 0));
    EXPECT_FALSE(Document.normalize(90));
    EXPECT_EQ(Document.normalizepercent, 90);
    EXPECT_FALSE(Document.amplify(150));
    EXPECT_EQ(Document.amplifypercent, 150);
    EXPECT_EQ(Document.endframe, 25);
    EXPECT_TRUE(Document.reverse());
    EXPECT_TRUE(Document.invert());
    EXPECT_EQ(Document.undostack.size(), 2u);
}

TEST_F(SampleEdits, EmptyOrBusyDocumentsStartNothing) {
    Document.createnew("untitled.tmp", 44100, 2, 16);
    EXPECT_FALSE(Document.fadein(0, 1));
    EXPECT_FALSE(Document.reverse());
    EXPECT_FALSE(Document.invert());
    EXPECT_FALSE(Document.amplify(100));
    Load(1, {1, 2, 3});
    Document.busy = true;
    EXPECT_FALSE(Document.invert());
    EXPECT_FALSE(Document.normalize(50));
    EXPECT_EQ(Document.normalizepercent, 0); // nothing stored while busy
    Document.busy = false;
    EXPECT_EQ(Ui.Progress.Shown, 1);
}

TEST_F(SampleEdits, ProgressOfEachEdit) {
    Load(1, {1, 2, 3, 4});
    Ui.Progress.Received.clear();
    ASSERT_TRUE(Document.fadein(0, 3)); // before frames 0, 1, 2: 33, 67, 100
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{33, 67, 100, 0}));
    Ui.Progress.Received.clear();
    ASSERT_TRUE(Document.amplify(50));
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{25, 50, 75, 100, 0}));
    Ui.Progress.Received.clear();
    ASSERT_TRUE(Document.reverse());
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{25, 50, 75, 100, 0}));
    Ui.Progress.Received.clear();
    ASSERT_TRUE(Document.invert()); // after frame i: i × 100 / 4, the first is 0
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{25, 50, 75, 0}));
    EXPECT_EQ(Document.progress, 0);
}

TEST_F(SampleEdits, EachEditIsOneUndoStepWithItsPeaksAndLevels) {
    EventLog log(Document);
    const Samples16 source = TestSignal(3000, 2, 21);
    Load(2, source);
    const Tindexdata loadedIndex = Document.peakindex;
    const int16_t loadedPeak = Document.peak;
    log.Events.clear();
    ASSERT_TRUE(Document.amplify(10));
    EXPECT_EQ(log.Events, (Strings{"action(1,0)", "action(1,0)", "ready(1)"}));
    EXPECT_TRUE(Document.modified);
    const Samples16 amplified = Samples();
    const Tindexdata amplifiedIndex = Document.peakindex;
    EXPECT_LT(Document.peak, loadedPeak);
    Document.undo();
    EXPECT_EQ(Samples(), source);
    EXPECT_EQ(Document.peakindex, loadedIndex);
    EXPECT_EQ(Document.peak, loadedPeak);
    Document.redo();
    EXPECT_EQ(Samples(), amplified);
    EXPECT_EQ(Document.peakindex, amplifiedIndex);
    ASSERT_TRUE(Document.fadein(0, 3000));
    ASSERT_TRUE(Document.reverse());
    ASSERT_TRUE(Document.invert());
    EXPECT_EQ(Document.undostack.size(), 4u);
    for (int i = 0; i < 4; ++i)
        Document.undo();
    EXPECT_EQ(Samples(), source);
    EXPECT_EQ(Document.peakindex, loadedIndex);
}
