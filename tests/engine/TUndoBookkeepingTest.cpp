#include "Twavefile.h"

#include "Exceptions.h"
#include "FakeUserInterface.h"
#include "Settings.h"
#include "TDataFile.h"
#include "TestDocument.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Strings = std::vector<std::string>;
using Samples = std::vector<int16_t>;

/// Everything that travels with a table through undo and redo.
struct State {
    TLargeFile* table;
    Samples samples;
    Tindexdata peakindex;
    std::array<int16_t, 8> peaks;
    int16_t peak;
    double leveldb;
    uint32_t frames;
    bool modified;

    bool operator==(const State&) const = default;
};

State Capture(Twavefile& document) {
    return {document.table.get(), TableSamples(*document.table),
            document.peakindex,   document.peaks,
            document.peak,        document.leveldb,
            document.frames,      document.modified};
}

/// Frames startframe … endframe − 1 removed, the way a structural edit does it.
void DeleteWorker(Twavefile& document) {
    document.ready = false;
    document.pushundo();
    const std::shared_ptr<TLargeFile> old = document.table;
    auto next = std::make_shared<TLargeFile>(document.filename, old->Channels, old->SampleRate);
    document.table = next;
    next->CopyBefore(*old, document.startframe);
    next->CopyFrom(*old, document.endframe);
    Tindexdata result;
    document.splicepeaks({}, 0, result, document.startframe, document.endframe);
    document.peakindex = result;
    next->UpdateSize();
    document.updateinfo(*next);
    document.updatelevels();
    document.ready = true;
    document.doaction(true, false);
}

/// Every sample halved into a new headerless file, the way a sample-processing edit does it.
void HalveWorker(Twavefile& document) {
    document.ready = false;
    document.pushundo();
    const std::shared_ptr<TLargeFile> old = document.table;
    Samples samples = TableSamples(*old);
    for (int16_t& s : samples)
        s = int16_t(s / 2);
    const auto file = TDataFile::CreateTemporary();
    const std::string& name = file->Path();
    std::vector<uint8_t> bytes(samples.size() * 2);
    std::memcpy(bytes.data(), samples.data(), bytes.size());
    WriteWholeFile(name, bytes);
    Tindexdata result;
    document.replacepeaks(PlainPeakIndex(samples, old->Channels), result, 0);
    document.peakindex = result;
    document.updatelevels();
    auto next = std::make_shared<TLargeFile>(document.filename, old->Channels, old->SampleRate);
    next->Add({int64_t(bytes.size()), TChunk::FileBacked, file, 0});
    next->UpdateSize();
    document.table = next;
    document.updateinfo(*next);
    document.ready = true;
    document.doaction(true, false);
}

class UndoRedo : public testing::Test {
protected:
    void SetUp() override {
        Settings.tempfolder = Dir.Path();
        std::mt19937 random(7);
        Samples samples(2 * 3000);
        for (int16_t& s : samples)
            s = int16_t(random());
        samples[1234] = -32768;
        const std::string path = Dir.File("source.wav");
        WriteSampleFile(path, 2, 44100, samples);
        Document.loadfile(path);
        ASSERT_TRUE(Document.ready);
        Log.Events.clear();
    }

    void Delete(int64_t start, int64_t end) {
        Document.startframe = start;
        Document.endframe = end;
        Document.operation = opdelete;
        Document.startoperation();
    }

    void Halve() {
        Document.operation = opgain;
        Document.startoperation();
    }

    FakeUserInterface Ui;
    TempDir Dir;
    ScopedWorker Load{opload, SampleFileLoadWorker};
    ScopedWorker Deleting{opdelete, DeleteWorker};
    ScopedWorker Halving{opgain, HalveWorker};
    Twavefile Document;
    EventLog Log{Document};
};

} // namespace

TEST_F(UndoRedo, SeveralEditsUndoAndRedoToIdenticalStates) {
    std::vector<State> states{Capture(Document)};
    Delete(100, 700);
    states.push_back(Capture(Document));
    Halve();
    states.push_back(Capture(Document));
    Delete(0, 512);
    states.push_back(Capture(Document));
    EXPECT_EQ(Document.undostack.size(), 3u);
    EXPECT_EQ(states[1].frames, 2400u);
    EXPECT_EQ(states[0].peak, 32767); // −32768 counts as 32767
    EXPECT_EQ(states[0].leveldb, 0.0);
    EXPECT_NE(states[2].peak, states[1].peak);

    for (int i = 2; i >= 0; --i) {
        Document.undo();
        State now = Capture(Document);
        now.modified = states[i].modified; // undo leaves `modified` alone
        EXPECT_EQ(now, states[i]) << "after undo to state " << i;
        EXPECT_TRUE(Document.modified);
    }
    EXPECT_FALSE(Document.canundo());
    for (int i = 1; i <= 3; ++i) {
        Document.redo();
        EXPECT_EQ(Capture(Document), states[i]) << "after redo to state " << i;
    }
    EXPECT_FALSE(Document.canredo());
}

TEST_F(UndoRedo, EventsOfOneEditItsUndoAndRedo) {
    Delete(10, 20);
    EXPECT_EQ(Log.Events, (Strings{"action(1,0)", "action(1,0)", "ready(1)"}));
    Log.Events.clear();
    Document.undo();
    EXPECT_EQ(Log.Events, (Strings{"ready(1)", "action(0,1)"}));
    Log.Events.clear();
    Document.redo();
    EXPECT_EQ(Log.Events, (Strings{"ready(1)", "action(1,0)"}));
}

TEST_F(UndoRedo, EmptyStacksDoNothing) {
    const State before = Capture(Document);
    Document.undo();
    Document.redo();
    EXPECT_TRUE(Log.Events.empty());
    EXPECT_EQ(Capture(Document), before);
}

TEST_F(UndoRedo, NewEditFreesTheRedoTables) {
    Delete(0, 100);
    Delete(0, 100);
    Document.undo();
    Document.undo();
    ASSERT_EQ(Document.redostack.size(), 2u);
    std::weak_ptr<TLargeFile> first = Document.redostack[0];
    std::weak_ptr<TLargeFile> second = Document.redostack[1];
    Halve();
    EXPECT_TRUE(Document.redostack.empty());
    EXPECT_FALSE(Document.canredo());
    EXPECT_TRUE(first.expired());
    EXPECT_TRUE(second.expired());
    EXPECT_EQ(Document.undostack.size(), 1u);
}

TEST_F(UndoRedo, UndoBringsShownProgressBackToZero) {
    Delete(0, 100);
    Ui.Progress.Received.clear();
    Document.progress = 40; // as if a value were still shown
    Document.undo();
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{0}));
    EXPECT_EQ(Document.progress, 0);
}

TEST_F(UndoRedo, FailedEditRollsBackToTheStateBeforeIt) {
    struct Case {
        const char* name;
        bool modifiedBefore;
        bool replaceTable; // the worker had set its partial table before failing
        bool pushTwice;
    };
    const std::vector<Case> cases{
        {"fails right after pushundo", false, false, false},
        {"fails with a partial table", false, true, false},
        {"keeps modified set", true, true, false},
        {"two pushes", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Delete(0, 10);
        Delete(0, 10);
        Document.undo(); // leaves one table on the redo stack
        Document.modified = c.modifiedBefore;
        const State before = Capture(Document);
        const size_t depth = Document.undostack.size();
        std::weak_ptr<TLargeFile> redoTable = Document.redostack.back();
        std::weak_ptr<TLargeFile> partial;
        ScopedWorker failing(opfadeout, [&](Twavefile& document) {
            document.ready = false;
            document.pushundo();
            if (c.replaceTable) {
                auto next = std::make_shared<TLargeFile>(document.filename, 2, 44100);
                partial = next;
                document.table = next;
                document.peakindex.assign(3, MakeIndexElement(1, -1));
                document.peaks.fill(1);
                document.peak = 1;
                document.leveldb = -90.0;
                document.updateinfo(*next);
            }
            if (c.pushTwice)
                document.pushundo();
            throw EWriteError("Disk full");
        });
        Log.Events.clear();
        Ui.Errors.Messages.clear();
        Document.operation = opfadeout;
        Document.startoperation();

        EXPECT_EQ(Capture(Document), before);
        EXPECT_EQ(Document.undostack.size(), depth);
        EXPECT_TRUE(Document.ready);
        EXPECT_FALSE(Document.busy);
        EXPECT_TRUE(partial.expired());
        EXPECT_TRUE(redoTable.expired()); // the edit cleared the redo stack, and it stays so
        EXPECT_TRUE(Document.redostack.empty());
        for (const auto& snapshot : Document.undostack)
            EXPECT_NE(snapshot, Document.table);
        Strings expected{"action(1,0)"};
        if (c.pushTwice)
            expected.push_back("action(1,0)");
        expected.insert(expected.end(), {"action(1,0)", "loaded(0)", "ready(1)"});
        EXPECT_EQ(Log.Events, expected);
        EXPECT_EQ(Ui.Errors.Messages, (Strings{"Disk full"}));

        // The document goes on working: the next undo takes back the edit before the failed one.
        Document.undo();
        EXPECT_EQ(Document.undostack.size(), depth - 1);
        Document.redo();
        EXPECT_EQ(Capture(Document).table, before.table);
    }
}

TEST_F(UndoRedo, FailedEditOfAnUnmodifiedDocumentLeavesItUnmodified) {
    ScopedWorker failing(opinvert, [](Twavefile& document) {
        document.ready = false;
        document.pushundo();
        throw Exception("Cannot map the view");
    });
    ASSERT_FALSE(Document.modified);
    Document.operation = opinvert;
    Document.startoperation();
    EXPECT_FALSE(Document.modified);
    EXPECT_TRUE(Document.undostack.empty());
    EXPECT_EQ(Log.Events, (Strings{"action(1,0)", "action(0,0)", "loaded(0)", "ready(1)"}));
}
