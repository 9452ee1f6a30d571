#include "AudioClipboard.h"
#include "EditDocuments.h"
#include "Exceptions.h"
#include "Signals.h"
#include "TLargeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

namespace {

using Samples = std::vector<int16_t>;

} // namespace

TEST(StructuralEditsGuards, RangesOutsideTheDocumentStartNothing) {
    struct Case {
        const char* name;
        std::function<bool(Twavefile&)> request;
    };
    const std::vector<Case> cases{
        {"delete past the end", [](Twavefile& d) { return d.deleterange(10, 1001); }},
        {"delete reversed", [](Twavefile& d) { return d.deleterange(20, 10); }},
        {"delete before the start", [](Twavefile& d) { return d.deleterange(-1, 10); }},
        {"cut past the end", [](Twavefile& d) { return d.cut(999, 1002); }},
        {"cut reversed", [](Twavefile& d) { return d.cut(5, 4); }},
        {"copy past the end", [](Twavefile& d) { return d.copy(1001, 1001); }},
        {"copy before the start", [](Twavefile& d) { return d.copy(-5, 3); }},
        {"paste past the end", [](Twavefile& d) { return d.paste(1001); }},
        {"paste before the start", [](Twavefile& d) { return d.paste(-1); }},
        {"silence past the end", [](Twavefile& d) { return d.insertsilence(1001, 5); }},
        {"negative silence", [](Twavefile& d) { return d.insertsilence(10, -5); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EditDocuments setting;
        auto document = setting.Open(Ramp(1000, 0, 7), 1, 44100);
        ASSERT_TRUE(document->copy(0, 10));
        const auto clip = AudioClipboard::Get();
        const int shown = setting.Ui.Progress.Shown;
        const TLargeFile* table = document->table.get();
        EXPECT_FALSE(c.request(*document));
        EXPECT_EQ(setting.Ui.Progress.Shown, shown);
        EXPECT_EQ(document->table.get(), table);
        EXPECT_FALSE(document->canundo());
        EXPECT_EQ(AudioClipboard::Get(), clip);
        EXPECT_EQ(DocumentSamples(*document), Ramp(1000, 0, 7));
    }
}

TEST(StructuralEditsGuards, WholeDocumentRangesAndEditPointsAtBothEnds) {
    EditDocuments setting;
    auto document = setting.Open(Ramp(1000, 0, 7), 1, 44100);
    EXPECT_TRUE(document->copy(0, 1000));
    EXPECT_TRUE(document->paste(1000));
    EXPECT_TRUE(document->insertsilence(0, 3));
    EXPECT_EQ(document->frames, 2003u);
    EXPECT_TRUE(document->deleterange(0, 2003));
    EXPECT_EQ(document->frames, 0u);
    EXPECT_TRUE(document->table->Chunks.empty());
    // Delete, cut and copy need frames; paste and insert silence do not.
    EXPECT_FALSE(document->deleterange(0, 0));
    EXPECT_FALSE(document->cut(0, 0));
    EXPECT_FALSE(document->copy(0, 0));
    EXPECT_TRUE(document->paste(0));
    EXPECT_EQ(DocumentSamples(*document), Ramp(1000, 0, 7));
}

TEST(StructuralEditsGuards, NothingStartsWithoutATable) {
    EditDocuments setting;
    Twavefile document;
    EXPECT_FALSE(document.paste(0));
    EXPECT_FALSE(document.insertsilence(0, 10));
    EXPECT_EQ(setting.Ui.Progress.Shown, 0);
}

TEST(StructuralEditsGuards, EditsThatWouldReachTwoGibibytesAreRefusedBeforeAnyChange) {
    // Silence pieces have no file, so these documents are large without using the disk.
    EditDocuments setting;
    auto document = setting.Open(Ramp(1000, 0, 7), 1, 44100);
    const int64_t nearLimit = (int64_t(1) << 30) - 2000; // frames of mono: just under 2 GiB
    ASSERT_TRUE(document->insertsilence(0, nearLimit - 1000));
    ASSERT_EQ(document->frames, uint32_t(nearLimit));
    ASSERT_TRUE(document->copy(0, 600'000'000));
    auto stereo = setting.Open(Ramp(2000, 0, 7), 2, 44100);

    struct Case {
        const char* name;
        Twavefile* target;
        std::function<bool(Twavefile&)> request;
    };
    const std::vector<Case> cases{
        {"silence", document.get(), [](Twavefile& d) { return d.insertsilence(5, 2000); }},
        {"endless silence", stereo.get(),
         [](Twavefile& d) { return d.insertsilence(5, std::numeric_limits<int64_t>::max()); }},
        {"matching paste", document.get(), [](Twavefile& d) { return d.paste(0); }},
        {"converting paste", stereo.get(), [](Twavefile& d) { return d.paste(0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Twavefile& d = *c.target;
        const TLargeFile* table = d.table.get();
        const uint32_t frames = d.frames;
        const size_t undo = d.undostack.size();
        const size_t files = setting.Pieces.FileCount();
        setting.Ui.Errors.Messages.clear();
        EXPECT_TRUE(c.request(d));
        ASSERT_EQ(setting.Ui.Errors.Messages.size(), 1u);
        EXPECT_NE(setting.Ui.Errors.Messages[0].find("2 GB"), std::string::npos);
        EXPECT_EQ(d.table.get(), table);
        EXPECT_EQ(d.frames, frames);
        EXPECT_EQ(d.undostack.size(), undo);
        EXPECT_EQ(setting.Pieces.FileCount(), files);
        EXPECT_TRUE(d.ready);
    }
    // Just below the limit still works.
    EXPECT_TRUE(document->insertsilence(5, 999));
    EXPECT_EQ(document->frames, uint32_t(nearLimit + 999));
}

TEST(StructuralEditsGuards, AFailedCopyKeepsTheClipboardItHad) {
    EditDocuments setting;
    auto document = setting.Open(Ramp(100, 0, 7), 1, 44100);
    ASSERT_TRUE(document->copy(10, 20));
    const auto clip = AudioClipboard::Get();
    Twavefile empty;
    EXPECT_THROW(empty.copyworker(), Exception);
    EXPECT_EQ(AudioClipboard::Get(), clip);
}

TEST(StructuralEditsGuards, CutThenUndoKeepsTheClipboard) {
    EditDocuments setting;
    auto document = setting.Open(Ramp(1000, 0, 7), 1, 44100);
    ASSERT_TRUE(document->cut(100, 300));
    EXPECT_EQ(document->frames, 800u);
    document->undo();
    EXPECT_EQ(DocumentSamples(*document), Ramp(1000, 0, 7));
    Twavefile other; // a new empty document gets exactly the clipboard's frames
    other.createnew("untitled.tmp", 44100, 1, 16);
    ASSERT_TRUE(other.paste(0));
    const Samples all = Ramp(1000, 0, 7);
    EXPECT_EQ(DocumentSamples(other), Samples(all.begin() + 100, all.begin() + 300));
}

TEST(StructuralEditsGuards, CopiedSilencePastesAsSilenceWithoutAFile) {
    EditDocuments setting;
    auto document = setting.Open(Ramp(100, 0, 7), 1, 44100);
    ASSERT_TRUE(document->insertsilence(50, 1000));
    ASSERT_TRUE(document->copy(100, 900));
    ASSERT_TRUE(document->paste(0));
    const TChunk& first = document->table->Chunks.front();
    EXPECT_EQ(first.Kind, TChunk::Silence);
    EXPECT_FALSE(first.DataFile);
    EXPECT_EQ(first.Length, 800 * 2);
    EXPECT_EQ(setting.Pieces.FileCount(), 0u);
    const Samples all = DocumentSamples(*document);
    EXPECT_EQ(Samples(all.begin(), all.begin() + 800), Samples(800));
}

TEST(StructuralEditsGuards, AConvertingPasteThatCannotReadItsSourceLosesNothing) {
    EditDocuments setting;
    auto document = setting.Open(Ramp(1000, 0, 7), 2, 48000);
    // A folder opens like a file, but every read of it fails.
    const std::string unreadable = setting.Pieces.Folder.File("unreadable.pcm");
    std::filesystem::create_directory(unreadable);
    auto clip = std::make_shared<TLargeFile>("gone.wav", 1, 44100);
    clip->Add(TChunk{20000, TChunk::FileBacked, TDataFile::Open(unreadable), 0});
    clip->UpdateSize();
    AudioClipboard::Set(clip);
    const TLargeFile* table = document->table.get();
    const Tindexdata index = document->peakindex;
    EXPECT_TRUE(document->paste(100));
    ASSERT_EQ(setting.Ui.Errors.Messages.size(), 1u);
    EXPECT_NE(setting.Ui.Errors.Messages[0].find("unreadable.pcm"), std::string::npos);
    EXPECT_EQ(document->table.get(), table);
    EXPECT_EQ(document->peakindex, index);
    EXPECT_FALSE(document->canundo());
    EXPECT_TRUE(document->ready);
    EXPECT_EQ(DocumentSamples(*document), Ramp(1000, 0, 7));
}
