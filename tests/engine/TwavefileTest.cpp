#include "Twavefile.h"

#include "Exceptions.h"
#include "FakeUserInterface.h"
#include "TestDocument.h"

#include <gtest/gtest.h>

using Strings = std::vector<std::string>;

TEST(Twavefile, StartsNotReadyWithOpenGate) {
    Twavefile document;
    EXPECT_FALSE(document.ready);
    EXPECT_FALSE(document.busy);
    EXPECT_FALSE(document.modified);
    EXPECT_FALSE(document.loadfailed);
    EXPECT_TRUE(document.playevent.IsSet());
    EXPECT_EQ(document.progress, 0);
    EXPECT_EQ(document.table, nullptr);
}

TEST(Twavefile, CreateNewRefusesChannelsAndRatesOutsideTheRange) {
    struct Case {
        int32_t Rate, Channels;
    };
    for (const Case c : {Case{44100, 0}, Case{44100, 9}, Case{44100, -1}, Case{0, 2}, Case{99, 1},
                         Case{384001, 2}, Case{-44100, 2}}) {
        SCOPED_TRACE(std::to_string(c.Rate) + " Hz, " + std::to_string(c.Channels));
        FakeUserInterface ui;
        Twavefile document;
        EventLog log(document);
        EXPECT_THROW(document.createnew("untitled.tmp", c.Rate, c.Channels, 16), Exception);
        EXPECT_TRUE(log.Events.empty());
        EXPECT_FALSE(document.ready);
        EXPECT_FALSE(document.modified);
        EXPECT_EQ(document.table, nullptr);
        EXPECT_TRUE(document.filename.empty());
    }
    for (const Case c : {Case{100, 1}, Case{384000, 8}}) {
        FakeUserInterface ui;
        Twavefile document;
        document.createnew("untitled.tmp", c.Rate, c.Channels, 16);
        EXPECT_TRUE(document.ready);
        EXPECT_EQ(document.channels, c.Channels);
        EXPECT_EQ(document.samplerate, c.Rate);
    }
}

TEST(Twavefile, CreateNewMakesAnEmptyModifiedDocument) {
    FakeUserInterface ui;
    Twavefile document;
    EventLog log(document);
    document.createnew("untitled.tmp", 22050, 2, 8);
    EXPECT_EQ(log.Events, (Strings{"loaded(1)", "ready(1)"}));
    EXPECT_TRUE(document.ready);
    EXPECT_TRUE(document.modified);
    EXPECT_EQ(document.frames, 0u);
    EXPECT_EQ(document.size, 0u);
    EXPECT_EQ(document.duration, 0.0);
    EXPECT_EQ(document.leveldb, -90.0);
    EXPECT_EQ(document.peak, 0);
    EXPECT_EQ(document.channels, 2);
    EXPECT_EQ(document.samplerate, 22050);
    EXPECT_EQ(document.filename, "untitled.tmp");
    ASSERT_NE(document.table, nullptr);
    EXPECT_EQ(document.table->TotalSize, 0);
    EXPECT_EQ(document.table->Channels, 2);
    EXPECT_EQ(document.table->SampleRate, 22050);
    EXPECT_TRUE(document.undostack.empty());
    EXPECT_TRUE(document.redostack.empty());
    EXPECT_EQ(ui.Progress.Shown, 0); // synchronous: no operation
}

TEST(Twavefile, UpdateInfoDerivesFramesAndDuration) {
    struct Case {
        int64_t totalSize;
        int32_t channels, rate;
        uint32_t frames;
        double duration;
    };
    const std::vector<Case> cases{
        {88200, 2, 44100, 22050, 0.5},
        {88200, 1, 44100, 44100, 1.0},
        {6, 3, 8000, 1, 1.0 / 8000},
        {0, 2, 44100, 0, 0.0},
        {(int64_t(1) << 32) + 8, 2, 44100, 2, 2.0 / 44100}, // the low 32 bits only
        {400, 0, 44100, 0, 0.0},                            // no channels: no division by zero
        {400, 2, 0, 100, 0.0},                              // no rate: no duration
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.totalSize);
        Twavefile document;
        TLargeFile table("t", c.channels, c.rate);
        table.TotalSize = c.totalSize;
        document.updateinfo(table);
        EXPECT_EQ(document.size, uint32_t(c.totalSize));
        EXPECT_EQ(document.channels, c.channels);
        EXPECT_EQ(document.samplerate, c.rate);
        EXPECT_EQ(document.frames, c.frames);
        EXPECT_DOUBLE_EQ(document.duration, c.duration);
    }
}

TEST(Twavefile, CloseFileEmptiesTheDocument) {
    FakeUserInterface ui;
    Twavefile document;
    document.createnew("a.wav", 44100, 1, 16);
    document.pushundo();
    document.table = std::make_shared<TLargeFile>("a.wav", 1, 44100);
    document.pushundo();
    document.table = std::make_shared<TLargeFile>("a.wav", 1, 44100);
    document.undo();
    ASSERT_EQ(document.undostack.size(), 1u);
    ASSERT_EQ(document.redostack.size(), 1u);
    std::weak_ptr<TLargeFile> current = document.table;
    std::weak_ptr<TLargeFile> undone = document.undostack.back();
    std::weak_ptr<TLargeFile> redone = document.redostack.back();
    document.closefile();
    EXPECT_FALSE(document.ready);
    EXPECT_FALSE(document.modified);
    EXPECT_EQ(document.filename, "");
    EXPECT_EQ(document.table, nullptr);
    EXPECT_TRUE(document.undostack.empty());
    EXPECT_TRUE(document.redostack.empty());
    EXPECT_TRUE(current.expired());
    EXPECT_TRUE(undone.expired());
    EXPECT_TRUE(redone.expired());
}
