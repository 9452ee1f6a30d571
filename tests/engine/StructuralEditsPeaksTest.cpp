#include "AudioClipboard.h"
#include "EditDocuments.h"
#include "Signals.h"
#include "TLargeFile.h"
#include "TempFileList.h"
#include "TestDocument.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Samples = std::vector<int16_t>;

/// `frames` frames of ±`quiet` in every channel, with `loud` at the frames given.
Samples Signal(int64_t frames, int32_t channels, int16_t quiet,
               std::vector<std::pair<int64_t, int16_t>> loud = {}) {
    Samples s(size_t(frames * channels));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = int16_t(i % 2 ? quiet : -quiet);
    for (const auto& [frame, value] : loud)
        s[size_t(frame * channels)] = value;
    return s;
}

/// Levels worked out from an index by hand: per channel the largest magnitude of any maximum or
/// minimum.
int16_t PeakOf(const Tindexdata& index) {
    int32_t peak = 0;
    for (uint32_t e : index)
        peak = std::max(
            {peak, std::abs(int32_t(IndexMaximum(e))), std::abs(int32_t(IndexMinimum(e)))});
    return int16_t(std::min(peak, 32767));
}

Tindexdata Join(std::initializer_list<Tindexdata> parts) {
    Tindexdata out;
    for (const Tindexdata& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

Tindexdata Part(const Tindexdata& index, size_t from, size_t to) {
    return Tindexdata(index.begin() + std::ptrdiff_t(from), index.begin() + std::ptrdiff_t(to));
}

} // namespace

TEST(StructuralEditsPeaks, CopyStoresItsOwnIndexAndPasteKeepsEveryBlockItTouches) {
    EditDocuments setting;
    auto source = setting.Open(Signal(3000, 1, 50, {{1100, 30000}}), 1, 44100);
    auto target = setting.Open(Signal(2000, 1, 1000), 1, 44100);
    const Tindexdata b = target->peakindex; // 4 blocks of ±1000
    ASSERT_TRUE(source->copy(600, 1700));
    // Its own blocks from 600: source frames 600 … 1111 (blocks 1, 2: the click), 1112 … 1623
    // (blocks 2, 3) and 1624 … 1699 (block 3).
    const uint32_t click = MakeIndexElement(30000, -50);
    const uint32_t quiet = MakeIndexElement(50, -50);
    EXPECT_EQ(AudioClipboard::Get()->IndexData, (Tindexdata{click, click, quiet}));
    EXPECT_EQ(target->peak, 1000);
    ASSERT_TRUE(target->paste(1300));
    // 3100 frames: block 2 holds target and clipboard frames, block 3 clipboard frames only,
    // block 4 the clipboard's end and target frames 1300 … 1459, blocks 5 and 6 target frames.
    const uint32_t mixed = MakeIndexElement(30000, -1000);
    EXPECT_EQ(target->peakindex, (Tindexdata{b[0], b[1], mixed, click, mixed, b[2], b[3]}));
    EXPECT_EQ(target->peak, 30000);
    EXPECT_EQ(target->peaks[0], 30000);
    EXPECT_DOUBLE_EQ(target->leveldb, 20 * std::log10(30000.0 / 32767));
    EXPECT_EQ(target->frames, 3100u);
}

TEST(StructuralEditsPeaks, StereoIndexAndPasteAtTheStart) {
    EditDocuments setting;
    // Channel 0 holds −quiet, channel 1 +quiet (the plain index: a block's maximum may be
    // negative); the click is in channel 0 of frame 10.
    auto source = setting.Open(Signal(1500, 2, 300, {{10, -20000}}), 2, 22050);
    auto target = setting.Open(Signal(600, 2, 200), 2, 22050);
    ASSERT_TRUE(source->copy(100, 1100));
    const uint32_t down300 = MakeIndexElement(-300, -300);
    const uint32_t up300 = MakeIndexElement(300, 300);
    const uint32_t click = MakeIndexElement(-300, -20000);
    EXPECT_EQ(AudioClipboard::Get()->IndexData, (Tindexdata{click, up300, down300, up300}));
    ASSERT_TRUE(target->paste(0));
    const uint32_t down200 = MakeIndexElement(-200, -200);
    const uint32_t up200 = MakeIndexElement(200, 200);
    EXPECT_EQ(target->peakindex,
              (Tindexdata{click, up300, MakeIndexElement(-200, -300), MakeIndexElement(300, 200),
                          down200, up200, down200, up200}));
    EXPECT_EQ(target->peaks[0], 20000);
    EXPECT_EQ(target->peaks[1], 300);
    EXPECT_EQ(target->peak, 20000);
}

TEST(StructuralEditsPeaks, InsertSilenceKeepsTheBlocksItSplitsAndTheLevels) {
    EditDocuments setting;
    auto document = setting.Open(Signal(2000, 1, 100, {{700, 20000}}), 1, 44100);
    const Tindexdata old = document->peakindex;
    ASSERT_TRUE(document->insertsilence(700, 1100));
    // 3100 frames: the loud block 1 is split by the silence; both of its halves keep its
    // extremes, and the silence joins them.
    const uint32_t loud = MakeIndexElement(20000, -100);
    EXPECT_EQ(document->peakindex,
              (Tindexdata{old[0], loud, MakeIndexElement(0, 0), loud, loud, old[2], old[3]}));
    EXPECT_EQ(PeakOf(document->peakindex), 20000);
    EXPECT_EQ(document->peak, 20000);
    EXPECT_EQ(document->peaks[0], 20000);
    EXPECT_EQ(document->frames, 3100u);
}

TEST(StructuralEditsPeaks, DeleteKeepsTheExtremesOfTheBlocksItJoinsAndRecomputesTheLevels) {
    EditDocuments setting;
    auto document = setting.Open(Signal(1000, 1, 100, {{150, -25000}}), 1, 44100);
    const Tindexdata old = document->peakindex;
    ASSERT_EQ(document->peak, 25000);
    ASSERT_TRUE(document->deleterange(100, 200));
    // 900 frames: block 0 joins old blocks 0 and 1, block 1 is the rest of old block 1.
    EXPECT_EQ(document->peakindex, (Tindexdata{MakeIndexElement(100, -25000), old[1]}));
    EXPECT_EQ(document->peak, 25000);
    ASSERT_TRUE(document->deleterange(0, 512));
    EXPECT_EQ(document->peakindex, (Tindexdata{old[1]}));
    EXPECT_EQ(document->peak, 100);
    EXPECT_EQ(document->peaks[0], 100);
    EXPECT_DOUBLE_EQ(document->leveldb, 20 * std::log10(100.0 / 32767));
}

TEST(StructuralEditsPeaks, ConvertingPasteWritesOneFileAndSplicesItsIndex) {
    EditDocuments setting;
    const int64_t clipFrames = 2048 * 10;
    auto source = setting.Open(Sine(clipFrames, 440, 44100, 1, 16000), 1, 44100);
    auto target = setting.Open(Signal(2000, 2, 700), 2, 48000);
    const Tindexdata old = target->peakindex;
    ASSERT_TRUE(source->copy(0, clipFrames));
    const size_t filesBefore = setting.Pieces.FileCount();
    setting.Ui.Progress.Received.clear();
    ASSERT_TRUE(target->paste(1024));

    EXPECT_EQ(setting.Pieces.FileCount(), filesBefore + 1);
    const int64_t converted = std::llround(double(clipFrames) * 48000 / 44100);
    ASSERT_EQ(target->frames, uint32_t(2000 + converted));
    const TChunk& piece = target->table->Chunks.at(1);
    EXPECT_EQ(piece.Kind, TChunk::FileBacked);
    EXPECT_EQ(piece.Offset, 0);
    EXPECT_EQ(piece.Length, converted * 4);
    EXPECT_TRUE(TempFiles.Contains(piece.DataFile->Path()));

    const Samples all = DocumentSamples(*target);
    const Samples inserted(all.begin() + 1024 * 2, all.begin() + (1024 + converted) * 2);
    const Tindexdata part = PlainPeakIndex(inserted, 2);
    // The converted frames start on a block; their partial last block (275 frames) shares its
    // block with old frames, whose blocks are all alike.
    ASSERT_EQ(converted % 512, 275);
    const size_t whole = size_t(converted / 512) * 2;
    auto both = [](uint32_t a, uint32_t b) {
        return MakeIndexElement(std::max(IndexMaximum(a), IndexMaximum(b)),
                                std::min(IndexMinimum(a), IndexMinimum(b)));
    };
    const Tindexdata shared{both(part[whole], old[4]), both(part[whole + 1], old[5])};
    const size_t blocks = size_t(2000 + converted + 511) / 512;
    const size_t after = blocks - 2 - whole / 2 - 1;
    Tindexdata rest;
    for (size_t i = 0; i < after; ++i)
        rest.insert(rest.end(), {old[4], old[5]});
    EXPECT_EQ(target->peakindex, Join({Part(old, 0, 4), Part(part, 0, whole), shared, rest}));
    EXPECT_EQ(target->peak, PeakOf(target->peakindex));
    EXPECT_GT(target->peak, 15900);

    // Percentages rise from 0 (which needs no post), stay below 100, and the end posts 0.
    const std::vector<int32_t> expected{10, 20, 30, 40, 50, 60, 70, 80, 90, 0};
    EXPECT_EQ(setting.Ui.Progress.Received, expected);
}

TEST(StructuralEditsPeaks, ConvertingPasteThatYieldsNothingChangesNothing) {
    EditDocuments setting;
    auto source = setting.Open(Samples{12345}, 1, 192000);
    auto target = setting.Open(Signal(1000, 1, 300, {{5, 9000}}), 1, 8000);
    const Samples before = DocumentSamples(*target);
    const Tindexdata index = target->peakindex;
    const auto peaks = target->peaks;
    const double level = target->leveldb;
    ASSERT_TRUE(source->copy(0, 1));
    ASSERT_TRUE(target->paste(500));
    EXPECT_EQ(DocumentSamples(*target), before);
    EXPECT_EQ(target->peakindex, index);
    EXPECT_EQ(target->peaks, peaks);
    EXPECT_EQ(target->leveldb, level);
    ASSERT_TRUE(target->canundo());
    target->undo();
    EXPECT_EQ(DocumentSamples(*target), before);
    EXPECT_EQ(target->peakindex, index);
    EXPECT_EQ(target->peaks, peaks);
    EXPECT_FALSE(target->canundo());
}

TEST(StructuralEditsPeaks, EventsOfEditsAndOfCopy) {
    struct Case {
        const char* name;
        std::function<bool(Twavefile&)> request;
        std::vector<std::string> events;
    };
    const std::vector<std::string> edit{"action(1,0)", "action(1,0)", "ready(1)"};
    const std::vector<Case> cases{
        {"delete", [](Twavefile& d) { return d.deleterange(10, 20); }, edit},
        {"insert silence", [](Twavefile& d) { return d.insertsilence(10, 0); }, edit},
        {"cut", [](Twavefile& d) { return d.cut(10, 20); }, edit},
        {"copy", [](Twavefile& d) { return d.copy(10, 20); }, {"ready(1)"}},
        {"paste without clipboard", [](Twavefile& d) { return d.paste(10); }, {"ready(1)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditDocuments setting;
        auto document = setting.Open(Signal(100, 1, 5), 1, 44100);
        EventLog log(*document);
        ASSERT_TRUE(c.request(*document));
        EXPECT_EQ(log.Events, c.events);
        EXPECT_EQ(document->canundo(), c.events.size() == 3);
        EXPECT_TRUE(document->ready);
    }
}
