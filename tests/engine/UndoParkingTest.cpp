// Tables on the undo and redo stacks are parked: their peak index lies in the temporary folder and
// their read window is freed. Undo and redo stay exact over real edits of every kind, the stacks
// hold no index or window in memory however many edits there are, and a folder that cannot take
// or give back an index loses nothing.

#include "EditDocuments.h"
#include "SampleEdits.h"
#include "Settings.h"
#include "TPeakBookkeeping.h"
#include "TempFileList.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <random>

namespace {

using Samples = std::vector<int16_t>;

/// Everything undo and redo must bring back.
struct State {
    Samples samples;
    Tindexdata peakindex;
    std::array<int16_t, 8> peaks;
    int16_t peak;
    double leveldb;

    bool operator==(const State&) const = default;
};

State Capture(Twavefile& document) {
    return {DocumentSamples(document), document.peakindex, document.peaks, document.peak,
            document.leveldb};
}

/// Bytes that the tables on both stacks keep in memory for their peak index and read window.
size_t StackMemory(const Twavefile& document) {
    size_t bytes = 0;
    for (const auto* stack : {&document.undostack, &document.redostack})
        for (const auto& table : *stack)
            bytes += table->IndexData.capacity() * sizeof(uint32_t) +
                     (table->HoldsWindow() ? size_t(TLargeFile::WindowSize) : 0);
    return bytes;
}

size_t ParkedFiles(const std::string& folder) {
    size_t count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        count += entry.path().filename().string().starts_with("~wi") ? 1 : 0;
    return count;
}

class UndoParking : public testing::Test {
protected:
    void SetUp() override {
        SampleEdits::Register();
        std::mt19937 random(11);
        Samples samples(2 * 40000);
        for (int16_t& s : samples)
            s = int16_t(int32_t(random() % 40000) - 20000);
        Document = Setting.Open(samples, 2, 44100);
    }

    /// Edit `i` of a mixed series: every structural and sample-processing edit in turn.
    void Edit(int i) {
        const int64_t n = Document->frames;
        const std::vector<std::function<bool()>> edits{
            [&] { return Document->deleterange(n / 3, n / 3 + 777); },
            [&] { return Document->fadein(100, 5000); },
            [&] { return Document->amplify(70); },
            [&] { return Document->insertsilence(n / 2, 1500); },
            [&] { return Document->fadeout(n - 3000, n - 10); },
            [&] { return Document->copy(1000, 2600) && Document->paste(n / 4); },
            [&] { return Document->reverse(); },
            [&] { return Document->invert(); },
        };
        ASSERT_TRUE(edits[size_t(i) % edits.size()]()) << "edit " << i;
    }

    EditDocuments Setting;
    std::unique_ptr<Twavefile> Document;
};

} // namespace

TEST_F(UndoParking, MixedEditsUndoAndRedoToExactStates) {
    std::vector<State> states{Capture(*Document)};
    // The loaded state against a plain model of its samples.
    EXPECT_EQ(states[0].peakindex, PlainPeakIndex(states[0].samples, 2));
    for (int i = 0; i < 10; ++i) {
        Edit(i);
        states.push_back(Capture(*Document));
    }
    for (int i = 9; i >= 0; --i) {
        Document->undo();
        EXPECT_EQ(Capture(*Document), states[size_t(i)]) << "after undo to state " << i;
    }
    for (int i = 1; i <= 10; ++i) {
        Document->redo();
        const State now = Capture(*Document);
        EXPECT_EQ(now, states[size_t(i)]) << "after redo to state " << i;
        std::array<int16_t, 8> peaks{};
        int16_t peak = 0;
        double leveldb = 0;
        TPeakBookkeeping::Levels(now.peakindex, 2, peaks, peak, leveldb);
        EXPECT_EQ(peaks, now.peaks);
        EXPECT_EQ(leveldb, now.leveldb);
    }
    EXPECT_TRUE(Setting.Ui.Errors.Messages.empty());
}

TEST_F(UndoParking, StacksKeepNoIndexOrReadWindowInMemory) {
    const std::string folder = Setting.Pieces.Folder.Path();
    for (int edits : {4, 16}) {
        SCOPED_TRACE(edits);
        for (int i = 0; i < edits; ++i) {
            Edit(i);
            DocumentSamples(*Document); // the worker and this read fill read windows
        }
        EXPECT_EQ(StackMemory(*Document), 0u);
        for (int i = 0; i < 3; ++i) {
            Document->undo();
            DocumentSamples(*Document);
        }
        Document->redo();
        EXPECT_EQ(StackMemory(*Document), 0u);
        EXPECT_EQ(ParkedFiles(folder), Document->undostack.size() + Document->redostack.size());
    }
    Document->closefile();
    EXPECT_EQ(ParkedFiles(folder), 0u);
}

TEST_F(UndoParking, FolderThatCannotTakeAnIndexKeepsItInMemory) {
    const State loaded = Capture(*Document);
    Settings.tempfolder = Setting.Pieces.Folder.File("missing");
    ASSERT_TRUE(Document->deleterange(10, 600));
    const State edited = Capture(*Document);
    EXPECT_EQ(Document->undostack.back()->IndexData, loaded.peakindex);
    Document->undo();
    EXPECT_EQ(Capture(*Document), loaded);
    Document->redo();
    EXPECT_EQ(Capture(*Document), edited);

    // With room again, the end of the next edit parks what waited in memory.
    Settings.tempfolder = Setting.Pieces.Folder.Path();
    ASSERT_TRUE(Document->deleterange(0, 100));
    EXPECT_EQ(StackMemory(*Document), 0u);
    Document->undo();
    Document->undo();
    EXPECT_EQ(Capture(*Document), loaded);
    EXPECT_TRUE(Setting.Ui.Errors.Messages.empty());
}

TEST_F(UndoParking, ParkedIndexesSurviveTheRemovalOfTheirNames) {
    const State loaded = Capture(*Document);
    ASSERT_TRUE(Document->deleterange(10, 600));
    const State edited = Capture(*Document);
    ASSERT_EQ(ParkedFiles(Setting.Pieces.Folder.Path()), 1u);
    for (const auto& entry : std::filesystem::directory_iterator(Setting.Pieces.Folder.Path()))
        std::filesystem::remove(entry.path()); // a cleaner of the temporary folder
    Document->undo();
    EXPECT_EQ(Capture(*Document), loaded);
    Document->redo();
    EXPECT_EQ(Capture(*Document), edited);
    EXPECT_TRUE(Setting.Ui.Errors.Messages.empty());
}

TEST_F(UndoParking, UnreadableParkedIndexShowsTheErrorAndChangesNothing) {
    ASSERT_TRUE(Document->deleterange(10, 600));
    const State edited = Capture(*Document);
    for (const auto& entry : std::filesystem::directory_iterator(Setting.Pieces.Folder.Path()))
        if (entry.path().filename().string().starts_with("~wi"))
            std::filesystem::resize_file(entry.path(), 4);
    Setting.Ui.Errors.Messages.clear();
    Document->undo();
    ASSERT_EQ(Setting.Ui.Errors.Messages.size(), 1u);
    EXPECT_NE(Setting.Ui.Errors.Messages[0].find("Cannot read the peak index"), std::string::npos);
    EXPECT_EQ(Capture(*Document), edited);
    EXPECT_EQ(Document->undostack.size(), 1u);
    EXPECT_TRUE(Document->redostack.empty());
}
