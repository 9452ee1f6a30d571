#include "Twavefile.h"

#include "Exceptions.h"
#include "FakeUserInterface.h"
#include "IDocumentView.h"
#include "MainThreadDispatcher.h"
#include "TestDocument.h"
#include "TestFiles.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <sys/stat.h>

namespace {

using Strings = std::vector<std::string>;

/// A view whose player holds the document's gate until the document asks it to stop.
class PlayingView : public IDocumentView {
public:
    explicit PlayingView(Twavefile& document)
        : Document(document) {}
    void StopPlayback() override {
        ++Stops;
        Document.playing = false;
        Document.playevent.Set();
    }
    Twavefile& Document;
    int Stops = 0;
};

class OperationRunner : public testing::Test {
protected:
    SavedWorkers Workers;
    FakeUserInterface Ui;
    TempDir Dir;
    Twavefile Document;
    EventLog Log{Document};

    std::string SampleFile(int32_t channels, const std::vector<int16_t>& samples) {
        const std::string path = Dir.File("sample" + std::to_string(++Files) + ".wav");
        WriteSampleFile(path, channels, 44100, samples);
        return path;
    }

    int Files = 0;
};

} // namespace

TEST_F(OperationRunner, GoodLoadFiresLoadedThenReady) {
    ScopedWorker load(opload, SampleFileLoadWorker);
    const std::vector<int16_t> samples{1, -2, 300, -400, 5, 6};
    Document.loadfile(SampleFile(2, samples));
    EXPECT_EQ(Log.Events, (Strings{"loaded(1)", "ready(1)"}));
    EXPECT_TRUE(Document.ready);
    EXPECT_FALSE(Document.busy);
    EXPECT_FALSE(Document.loadfailed);
    EXPECT_FALSE(Document.modified);
    EXPECT_EQ(Document.frames, 3u);
    EXPECT_EQ(Document.channels, 2);
    EXPECT_EQ(Document.peak, 400);
    EXPECT_EQ(TableSamples(*Document.table), samples);
    EXPECT_EQ(Ui.Progress.Shown, 1);
    EXPECT_EQ(Ui.Progress.Closed, 1);
    EXPECT_TRUE(Ui.Errors.Messages.empty());
    EXPECT_EQ(Document.thread, nullptr);
}

TEST_F(OperationRunner, LoadWithoutProgressFieldStillEndsWithZeroPosted) {
    ScopedWorker load(opload, SampleFileLoadWorker);
    Document.loadfile(SampleFile(1, {1, 2, 3}));
    // The worker posts like a decoder, leaving `progress` at 0; the end must still post 0.
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{50, 100, 0}));
    EXPECT_EQ(Document.progress, 0);
}

TEST_F(OperationRunner, FailedLoadFiresLoadedFalseThenReadyWithReturnValueZero) {
    ScopedWorker load(opload, SampleFileLoadWorker);
    const std::string broken = Dir.File("broken.wav");
    WriteWholeFile(broken, {'n', 'o', 't', ' ', 'a', ' ', 'w', 'a', 'v', 'e'});
    int32_t returnValue = 99;
    Document.OnLoaded = [&, previous = Document.OnLoaded](Twavefile& sender, bool success) {
        returnValue = sender.thread->ReturnValue;
        previous(sender, success);
    };
    Document.loadfile(broken);
    EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
    EXPECT_EQ(returnValue, CThread::Failed);
    EXPECT_TRUE(Document.loadfailed);
    EXPECT_FALSE(Document.ready);
    EXPECT_TRUE(Ui.Errors.Messages.empty()); // the worker's own message only
    ASSERT_EQ(Ui.Messages.Boxes.size(), 1u);
    EXPECT_TRUE(Ui.Messages.Boxes[0].OnMainThread);
    EXPECT_EQ(Ui.Messages.Boxes[0].Caption, "File Loading Error!");
}

TEST_F(OperationRunner, LoadEndingWithExceptionShowsOneErrorAndSetsLoadFailed) {
    ScopedWorker load(opload, [](Twavefile&) { throw EReadError("Read error on the source"); });
    int32_t returnValue = 99;
    Document.OnLoaded = [&, previous = Document.OnLoaded](Twavefile& sender, bool success) {
        returnValue = sender.thread->ReturnValue;
        previous(sender, success);
    };
    Document.loadfile(Dir.File("any.wav"));
    EXPECT_EQ(Ui.Errors.Messages, (Strings{"Read error on the source"}));
    EXPECT_EQ(returnValue, CThread::ErrorShown);
    EXPECT_TRUE(Document.loadfailed);
    EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
    EXPECT_FALSE(Document.busy);
}

TEST_F(OperationRunner, LoadLeavesTheFilePermissionsAlone) {
    ScopedWorker load(opload, SampleFileLoadWorker);
    const std::string path = SampleFile(1, {7, 8});
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    Document.loadfile(path);
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0444u);
    EXPECT_EQ(Log.Events, (Strings{"loaded(1)", "ready(1)"}));
}

TEST_F(OperationRunner, ResultOfEachKindOfOperation) {
    struct Case {
        const char* name;
        Twaveoperation code;
        bool wholeDocument; // `savesdocument`: a save of the document rather than of a range
        bool modifiedBefore;
        int32_t result; // what the worker leaves in ReturnValue, or -1 for an exception
        bool modifiedAfter;
        Strings events;
    };
    const std::vector<Case> cases{
        {"save clears modified", opsavewav, true, true, CThread::Succeeded, false, {"ready(1)"}},
        {"mp3 save clears modified",
         opsavemp3,
         true,
         true,
         CThread::Succeeded,
         false,
         {"ready(1)"}},
        {"range save keeps modified",
         opsavewav,
         false,
         true,
         CThread::Succeeded,
         true,
         {"ready(1)"}},
        {"mp3 range save keeps modified",
         opsavemp3,
         false,
         true,
         CThread::Succeeded,
         true,
         {"ready(1)"}},
        {"failed save keeps modified",
         opsavewav,
         true,
         true,
         CThread::Failed,
         true,
         {"loaded(0)", "ready(1)"}},
        {"save with exception keeps it",
         opsavemp3,
         true,
         true,
         -1,
         true,
         {"loaded(0)", "ready(1)"}},
        {"copy leaves modified clear",
         opcopy,
         false,
         false,
         CThread::Succeeded,
         false,
         {"ready(1)"}},
        {"failed copy leaves it", opcopy, false, false, -1, false, {"loaded(0)", "ready(1)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Document.createnew("doc.wav", 44100, 1, 16);
        Document.modified = c.modifiedBefore;
        Document.savesdocument = c.wholeDocument;
        Log.Events.clear();
        ScopedWorker worker(c.code, [result = c.result](Twavefile& document) {
            document.ready = false;
            if (result == -1)
                throw EWriteError("Disk full");
            document.thread->ReturnValue = result;
        });
        Document.operation = c.code;
        Document.startoperation();
        EXPECT_EQ(Document.modified, c.modifiedAfter);
        EXPECT_EQ(Log.Events, c.events);
        EXPECT_TRUE(Document.ready); // nothing changed the table, so the document is usable
    }
    EXPECT_EQ(Ui.Errors.Messages, (Strings{"Disk full", "Disk full"}));
}

TEST_F(OperationRunner, CodeWithoutWorkerIsAnError) {
    TWorkerTable::Unregister(opreverse);
    Document.createnew("doc.wav", 44100, 2, 16);
    Log.Events.clear();
    Document.operation = opreverse;
    Document.startoperation();
    ASSERT_EQ(Ui.Errors.Messages.size(), 1u);
    EXPECT_NE(Ui.Errors.Messages[0].find("not available"), std::string::npos);
    EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
    EXPECT_FALSE(Document.busy);
}

TEST_F(OperationRunner, ExceptionShowsOneErrorOnMainThreadAndEndsTheOperation) {
    Document.createnew("doc.wav", 44100, 2, 16);
    Log.Events.clear();
    std::atomic<int> runs = 0;
    ScopedWorker worker(opinvert, [&](Twavefile&) {
        ++runs;
        throw Exception("Cannot map the view");
    });
    Document.operation = opinvert;
    Document.startoperation();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Ui.Errors.Messages, (Strings{"Cannot map the view"}));
    EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
    EXPECT_EQ(Ui.Progress.Closed, 1);
    EXPECT_FALSE(Document.busy);
}

TEST_F(OperationRunner, ProgressIsPostedOnlyOnChange) {
    Document.createnew("doc.wav", 44100, 2, 16);
    ScopedWorker worker(opgain, [](Twavefile& document) {
        for (int32_t percent : {0, 0, 10, 10, 10, 55, 55, 99})
            document.postprogress(percent);
    });
    Document.operation = opgain;
    Document.startoperation();
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{10, 55, 99, 0}));
    EXPECT_EQ(Document.progress, 0);

    // An operation that posts nothing posts nothing at its end either.
    Ui.Progress.Received.clear();
    ScopedWorker quiet(opcopy, [](Twavefile&) {});
    Document.operation = opcopy;
    Document.startoperation();
    EXPECT_TRUE(Ui.Progress.Received.empty());
}

TEST_F(OperationRunner, SetProgressPostsOnlyNewValues) {
    for (int32_t percent : {0, 5, 5, 6, 0, 0})
        Document.setprogress(percent);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{5, 6, 0}));
}

TEST_F(OperationRunner, HeldGateKeepsTheWorkerWaiting) {
    Document.createnew("doc.wav", 44100, 2, 16);
    Document.playevent.Reset(); // a player plays this document
    std::atomic<bool> gateWasSet = false;
    std::atomic<int> runs = 0;
    ScopedWorker worker(opfadein, [&](Twavefile& document) {
        gateWasSet = document.playevent.IsSet();
        ++runs;
    });
    bool ranBeforeRelease = true;
    Ui.Progress.OnShow = [&] {
        QTimer::singleShot(30, [&] {
            ranBeforeRelease = runs != 0;
            Document.playevent.Set(); // the player stops
        });
    };
    Document.operation = opfadein;
    Document.startoperation();
    EXPECT_FALSE(ranBeforeRelease);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(gateWasSet);
}

TEST_F(OperationRunner, StartStopsPlaybackFirst) {
    Document.createnew("doc.wav", 44100, 2, 16);
    PlayingView view(Document);
    Document.setview(&view);
    Document.playing = true;
    Document.playevent.Reset();
    std::atomic<bool> gateWasSet = false;
    ScopedWorker worker(opreverse,
                        [&](Twavefile& document) { gateWasSet = document.playevent.IsSet(); });
    Document.operation = opreverse;
    Document.startoperation();
    EXPECT_EQ(view.Stops, 1);
    EXPECT_TRUE(gateWasSet);

    // Not playing: playback is left alone.
    Document.startoperation();
    EXPECT_EQ(view.Stops, 1);
}

TEST_F(OperationRunner, RequestsWhileBusyChangeNothing) {
    Document.createnew("doc.wav", 44100, 2, 16);
    std::atomic<int> runs = 0;
    ScopedWorker worker(opsilence, [&](Twavefile& document) {
        ++runs;
        MainThreadDispatcher::Synchronize([&] {
            document.startoperation();
            document.loadfile("/elsewhere/other.wav");
            document.closefile();
            document.undo();
            document.createnew("other.wav", 8000, 1, 16);
        });
    });
    Document.operation = opsilence;
    Document.startoperation();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Ui.Progress.Shown, 1);
    EXPECT_EQ(Document.filename, "doc.wav");
    EXPECT_EQ(Document.samplerate, 44100);
    EXPECT_EQ(Document.operation, opsilence);
    EXPECT_NE(Document.table, nullptr);
}

TEST_F(OperationRunner, HandlerMayStartTheNextOperation) {
    ScopedWorker load(opload, SampleFileLoadWorker);
    std::atomic<int> runs = 0;
    ScopedWorker worker(opcopy, [&](Twavefile&) { ++runs; });
    bool again = true;
    Document.OnReady = [&](Twavefile& document, bool) {
        if (!std::exchange(again, false))
            return;
        document.operation = opcopy;
        document.startoperation();
    };
    Document.loadfile(SampleFile(1, {1, 2, 3}));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Ui.Progress.Shown, 2);
    EXPECT_EQ(Ui.Progress.Closed, 2);
    EXPECT_EQ(Document.thread, nullptr);
    EXPECT_TRUE(Document.endingthreads.empty());
    // The load's end still posts its 0 after the copy that its handler started.
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{50, 100, 0}));
}
