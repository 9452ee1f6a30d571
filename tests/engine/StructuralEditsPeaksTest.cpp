#include "AudioClipboard.h"
#include "EditDocuments.h"
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

TEST(StructuralEditsPeaks, CopyStoresItsSliceAndAMatchingPasteSplicesExactlyThat) {
    EditDocuments setting;
    auto source = setting.Open(Signal(3000, 1, 50, {{1100, 30000}}), 1, 44100);
    auto target = setting.Open(Signal(2000, 1, 1000), 1, 44100);
    const Tindexdata a = source->peakindex; // 6 blocks
    const Tindexdata b = target->peakindex; // 4 blocks
    ASSERT_TRUE(source->copy(600, 1700));
    // (1100 div 512 + 1) = 3 elements from block 600 div 512 = 1.
    EXPECT_EQ(AudioClipboard::Get()->IndexData, Part(a, 1, 4));
    EXPECT_EQ(target->peak, 1000);
    ASSERT_TRUE(target->paste(1300));
    // Blocks before 1300 div 512 = 2 from the front, (2000 div 512) − 2 = 1 from the back.
    EXPECT_EQ(target->peakindex, Join({Part(b, 0, 2), Part(a, 1, 4), Part(b, 3, 4)}));
    EXPECT_EQ(target->peak, 30000);
    EXPECT_EQ(target->peaks[0], 30000);
    EXPECT_DOUBLE_EQ(target->leveldb, 20 * std::log10(30000.0 / 32767));
    EXPECT_EQ(target->frames, 3100u);
}

TEST(StructuralEditsPeaks, StereoSliceAndPasteAtTheStart) {
    EditDocuments setting;
    auto source = setting.Open(Signal(1500, 2, 300, {{10, -20000}}), 2, 22050);
    auto target = setting.Open(Signal(600, 2, 200), 2, 22050);
    const Tindexdata a = source->peakindex;
    const Tindexdata b = target->peakindex;
    ASSERT_TRUE(source->copy(100, 1100));
    EXPECT_EQ(AudioClipboard::Get()->IndexData, Part(a, 0, 4));
    ASSERT_TRUE(target->paste(0));
    EXPECT_EQ(target->peakindex, Join({Part(a, 0, 4), Part(b, 2, 4)}));
    EXPECT_EQ(target->peaks[0], 20000);
    EXPECT_EQ(target->peaks[1], 300);
    EXPECT_EQ(target->peak, 20000);
}

TEST(StructuralEditsPeaks, InsertSilenceSplicesZeroElementsAndKeepsTheLevels) {
    EditDocuments setting;
    auto document = setting.Open(Signal(2000, 1, 100, {{700, 20000}}), 1, 44100);
    const Tindexdata old = document->peakindex;
    ASSERT_TRUE(document->insertsilence(700, 1100));
    // 1100 div 512 = 2 zero elements at block 1; (2000 div 512) − 1 = 2 old ones from the back,
    // so the loud block 1 leaves the index ...
    const Tindexdata zeros(2, MakeIndexElement(0, 0));
    EXPECT_EQ(document->peakindex, Join({Part(old, 0, 1), zeros, Part(old, 2, 4)}));
    EXPECT_EQ(PeakOf(document->peakindex), 100);
    // ... but the levels are not recomputed: silence cannot raise them.
    EXPECT_EQ(document->peak, 20000);
    EXPECT_EQ(document->peaks[0], 20000);
    EXPECT_EQ(document->frames, 3100u);
}

TEST(StructuralEditsPeaks, DeleteSplicesAndRecomputesTheLevels) {
    EditDocuments setting;
    auto document = setting.Open(Signal(1000, 1, 100, {{150, -25000}}), 1, 44100);
    const Tindexdata old = document->peakindex;
    ASSERT_EQ(document->peak, 25000);
    ASSERT_TRUE(document->deleterange(100, 200));
    // (900 div 512) = 1 element kept, taken from the back.
    EXPECT_EQ(document->peakindex, Part(old, 1, 2));
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
    EXPECT_TRUE(TempFiles.Contains(piece.DataFile));

    const Samples all = DocumentSamples(*target);
    const Samples inserted(all.begin() + 1024 * 2, all.begin() + (1024 + converted) * 2);
    const Tindexdata part = PlainPeakIndex(inserted, 2);
    EXPECT_EQ(target->peakindex, Join({Part(old, 0, 4), part, Part(old, 4, 6)}));
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
