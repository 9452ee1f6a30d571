// Playback from the view through the null sound device on its manual clock: the range played, the
// cursor following the played bytes, restarts by the mouse, stopping, levels, and the question
// before a modified document is closed.
#include "EDirectSoundError.h"
#include "IFormatChooser.h"
#include "NullSoundScope.h"
#include "Signals.h"
#include "StructuralEdits.h"
#include "TMessageDlgRecorder.h"
#include "TSaveOperations.h"
#include "WaveViewFixture.h"

#include <algorithm>
#include <cstring>

namespace {

std::vector<uint8_t> Bytes(const std::vector<int16_t>& samples, size_t firstFrame, size_t frames) {
    std::vector<uint8_t> bytes(frames * 4);
    std::memcpy(bytes.data(), samples.data() + 2 * firstFrame, bytes.size());
    return bytes;
}

bool StartsWith(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

class PlaybackTest : public WaveViewFixture {
protected:
    void SetUp() override {
        // Stereo, 8000 frames at 8000 Hz, every sample different from its neighbours.
        Samples = Ramp(2 * 8000, -10000, 37, 20000);
        Load(Samples, 2, 8000);
        View.OnPlayStatus = [this](bool action) { Statuses.push_back(action); };
    }

    /// Runs the clock until playback ends; true when it ended.
    bool PlayToEnd() {
        for (int step = 0; View.Player().IsPlaying() && step < 3000; ++step)
            NullSoundScope::Advance();
        return !View.Player().IsPlaying();
    }

    /// The player reports every stop, also the one before a new range is prepared: playback
    /// started once and the last report is a stop.
    bool StartedOnceAndStopped() const {
        return std::count(Statuses.begin(), Statuses.end(), true) == 1 && !Statuses.back();
    }

    std::vector<int16_t> Samples;
    std::vector<bool> Statuses;
};

} // namespace

TEST_F(PlaybackTest, SelectionPlaysFromItsStartAndTheCursorFollows) {
    View.SetSelectionFrames(1000, 2000, true);
    View.StartPlayback();
    EXPECT_EQ(View.playstart, 1000u);
    EXPECT_TRUE(View.Player().IsPlaying());
    EXPECT_TRUE(Document.playing);
    EXPECT_FALSE(Document.playevent.IsSet());
    EXPECT_TRUE(Statuses.back());
    Cursors.clear();
    NullSoundScope::Advance(10);
    EXPECT_GT(View.cursor, 1000u);
    EXPECT_LT(View.cursor, 2000u);
    ASSERT_TRUE(PlayToEnd());
    EXPECT_EQ(View.cursor, 2000u);
    EXPECT_EQ(Cursors.back(), std::make_pair(2000u, 250u));
    for (size_t i = 0; i < Cursors.size(); ++i) {
        EXPECT_TRUE(Cursors[i].first >= 1000 && Cursors[i].first <= 2000) << Cursors[i].first;
        if (i > 0) {
            EXPECT_GE(Cursors[i].first, Cursors[i - 1].first);
        }
    }
    EXPECT_TRUE(StartedOnceAndStopped());
    EXPECT_FALSE(Document.playing);
    EXPECT_TRUE(Document.playevent.IsSet());
    // Interleaved sample 2000 on, 4000 bytes.
    EXPECT_TRUE(StartsWith(NullSoundOutput::Captured(), Bytes(Samples, 1000, 1000)));
}

TEST_F(PlaybackTest, SelectionPastTheEndOfAShorterDocumentPlaysOnlyWhatIsLeft) {
    // The document loses its first 4000 frames under a selection of 3000 … 7999, as an undo
    // can shorten it without the view's selection knowing.
    SavedWorkers workers;
    StructuralEdits::Register();
    View.SetSelectionFrames(3000, 8000, true);
    ASSERT_TRUE(Document.deleterange(0, 4000));
    ASSERT_EQ(Document.frames, 4000u);
    View.StartPlayback();
    EXPECT_EQ(View.playstart, 3000u);
    ASSERT_TRUE(PlayToEnd());
    EXPECT_EQ(View.cursor, 4000u);
    for (const auto& [frame, ms] : Cursors)
        EXPECT_LE(frame, 4000u);
    EXPECT_TRUE(StartsWith(NullSoundOutput::Captured(), Bytes(Samples, 7000, 1000)));
}

TEST_F(PlaybackTest, WithoutSelectionPlaysFromTheCursorToTheEnd) {
    View.SetCursorFrame(6000);
    View.StartPlayback();
    EXPECT_EQ(View.playstart, 6000u);
    ASSERT_TRUE(PlayToEnd());
    EXPECT_EQ(View.cursor, 8000u);
    EXPECT_TRUE(StartsWith(NullSoundOutput::Captured(), Bytes(Samples, 6000, 2000)));
}

TEST_F(PlaybackTest, StopPlaybackStopsAtOnce) {
    View.StartPlayback();
    NullSoundScope::Advance(5);
    View.StopPlayback();
    EXPECT_FALSE(View.Player().IsPlaying());
    EXPECT_EQ(View.playstart, 0u);
    EXPECT_TRUE(StartedOnceAndStopped());
    EXPECT_FALSE(Document.playing);
    const uint32_t cursor = View.cursor;
    NullSoundScope::Advance(20);
    EXPECT_EQ(View.cursor, cursor);
}

TEST_F(PlaybackTest, TheDocumentStopsTheViewsPlayback) {
    View.StartPlayback();
    IDocumentView* view = Document.view;
    ASSERT_EQ(view, &View);
    view->StopPlayback();
    EXPECT_FALSE(View.Player().IsPlaying());
}

TEST_F(PlaybackTest, PressRestartsDragStopsAndReleasePlaysTheSelection) {
    View.StartPlayback();
    NullSoundScope::Advance(5);
    // 20 frames a pixel: the press at x = 100 is frame 2000.
    View.MouseDown(Qt::LeftButton, 100, 100);
    EXPECT_TRUE(View.resumeplay);
    EXPECT_TRUE(View.Player().IsPlaying());
    EXPECT_EQ(View.playstart, 2000u);
    View.MouseMove(150, 100);
    EXPECT_FALSE(View.Player().IsPlaying());
    View.MouseMove(160, 100);
    EXPECT_FALSE(View.Player().IsPlaying());
    View.MouseUp(Qt::LeftButton, 160, 100);
    EXPECT_FALSE(View.resumeplay);
    EXPECT_TRUE(View.selected);
    EXPECT_TRUE(View.Player().IsPlaying());
    EXPECT_EQ(View.playstart, 2000u);
    const size_t heardBefore = NullSoundOutput::Captured().size();
    ASSERT_TRUE(PlayToEnd());
    EXPECT_EQ(View.selectionstop, 3200u);
    EXPECT_EQ(View.cursor, 3200u);
    const std::vector<uint8_t> heard = NullSoundOutput::Captured();
    EXPECT_TRUE(StartsWith(std::vector<uint8_t>(heard.begin() + long(heardBefore), heard.end()),
                           Bytes(Samples, 2000, 1200)));
}

TEST_F(PlaybackTest, LevelsFollowThePlayedSamples) {
    Load(std::vector<int16_t>(2 * 8000, 32767), 2, 8000);
    std::array<int16_t, 2> levels{};
    View.PollPlayerLevels(levels);
    EXPECT_EQ(levels, (std::array<int16_t, 2>{0, 0}));
    View.StartPlayback();
    NullSoundScope::Advance(5);
    View.PollPlayerLevels(levels);
    EXPECT_EQ(levels, (std::array<int16_t, 2>{128, 128}));
}

TEST_F(PlaybackTest, MissingSoundDeviceLeavesTheDocumentNotPlaying) {
    setenv("SONDRIX_AUDIO", "alsa:sondrix-no-such-device", 1);
    TWaveView view; // its player opens the configured device
    setenv("SONDRIX_AUDIO", "null", 1);
    view.SetDocument(&Document);
    EXPECT_THROW(view.StartPlayback(), EDirectSoundError);
    EXPECT_FALSE(view.Player().IsPlaying());
    EXPECT_FALSE(Document.playing);
}

TEST_F(PlaybackTest, DestroyingAPlayingViewStopsWithoutCallingBack) {
    auto view = std::make_unique<TWaveView>();
    view->SetDocument(&Document);
    Document.setview(view.get());
    bool called = false;
    view->OnPlayStatus = [&](bool action) { called = !action; };
    view->StartPlayback();
    view.reset();
    EXPECT_FALSE(called);
    EXPECT_TRUE(Document.playevent.IsSet());
    EXPECT_FALSE(Document.playing);
    EXPECT_EQ(Document.view, nullptr);
}

// --- The close question ---

namespace {

class CloseTest : public WaveViewFixture {
protected:
    void SetUp() override {
        Load(std::vector<int16_t>(800, 0));
        Document.modified = true;
        View.SaveDocument = [this](Twavefile& document) {
            EXPECT_EQ(&document, &Document);
            FlagDuringSave = View.closeaftersave;
            ++Saves;
            return SaveStarts;
        };
    }

    int Saves = 0;
    bool SaveStarts = true;
    bool FlagDuringSave = false;
};

} // namespace

TEST_F(CloseTest, CancelKeepsTheWindowAndTheDocument) {
    TMessageDlgRecorder dialogs({mrCancel});
    EXPECT_FALSE(View.CanCloseDocument());
    ASSERT_EQ(dialogs.Calls.size(), 1u);
    EXPECT_EQ(dialogs.Calls[0].Text, "Would you like to save changes?");
    EXPECT_EQ(dialogs.Calls[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.Calls[0].Buttons, TMsgDlgButtons(mbYes | mbNo | mbCancel));
    EXPECT_TRUE(Document.ready);
    EXPECT_TRUE(Document.modified);
    EXPECT_EQ(Saves, 0);
    EXPECT_FALSE(View.closeaftersave);
}

TEST_F(CloseTest, NoClosesTheDocumentWithoutSaving) {
    View.SetSelectionFrames(10, 20, true);
    TMessageDlgRecorder dialogs({mrNo});
    EXPECT_TRUE(View.CanCloseDocument());
    EXPECT_EQ(Saves, 0);
    EXPECT_FALSE(Document.ready);
    EXPECT_FALSE(Document.modified);
    EXPECT_TRUE(Document.filename.empty());
    EXPECT_FALSE(View.selected);
    // The view shows the empty picture again: two lanes.
    EXPECT_EQ(View.lanecentre[1], 155);
}

TEST_F(CloseTest, YesStartsTheSaveAndKeepsTheWindowUntilItEnds) {
    TMessageDlgRecorder dialogs({mrYes});
    EXPECT_FALSE(View.CanCloseDocument());
    EXPECT_EQ(Saves, 1);
    EXPECT_TRUE(FlagDuringSave); // the save ends inside the request and its end reads the flag
    EXPECT_TRUE(View.closeaftersave);
    EXPECT_TRUE(Document.ready);
    // The next question starts with the flag down.
    Document.modified = false;
    EXPECT_TRUE(View.CanCloseDocument());
    EXPECT_FALSE(View.closeaftersave);
}

TEST_F(CloseTest, SaveThatDoesNotBeginLeavesTheFlagDown) {
    SaveStarts = false;
    TMessageDlgRecorder dialogs({mrYes});
    EXPECT_FALSE(View.CanCloseDocument());
    EXPECT_EQ(Saves, 1);
    EXPECT_FALSE(View.closeaftersave);
    EXPECT_TRUE(Document.ready);
}

TEST_F(CloseTest, YesSavesThroughTheSaveOperations) {
    // By default a Yes saves the document over its own file.
    struct KeepFormat : IFormatChooser {
        uint32_t Choose(ACMFORMATCHOOSE&) override { return 0; }
    } chooser;
    IFormatChooser::Install(&chooser);
    TSaveOperations::Register();
    View.SaveDocument = TWaveView().SaveDocument;
    Document.filename = Dir.File("song.wav");
    TMessageDlgRecorder dialogs({mrYes});
    EXPECT_FALSE(View.CanCloseDocument());
    IFormatChooser::Install(nullptr);
    EXPECT_TRUE(View.closeaftersave);
    EXPECT_FALSE(Document.modified);
    const std::vector<uint8_t> saved = ReadWholeFile(Dir.File("song.wav"));
    ASSERT_EQ(saved.size(), 44u + 1600u);
    EXPECT_EQ(ToSamples({saved.begin() + 44, saved.end()}), std::vector<int16_t>(800, 0));
}

TEST_F(CloseTest, UnmodifiedDocumentClosesWithoutAQuestion) {
    Document.modified = false;
    TMessageDlgRecorder dialogs;
    EXPECT_TRUE(View.CanCloseDocument());
    EXPECT_TRUE(dialogs.Calls.empty());
    EXPECT_FALSE(Document.ready);
}

TEST_F(CloseTest, NotReadyDocumentMayCloseAtOnce) {
    Document.ready = false;
    TMessageDlgRecorder dialogs;
    EXPECT_TRUE(View.CanCloseDocument());
    EXPECT_TRUE(dialogs.Calls.empty());
    Document.ready = true;
}

TEST_F(CloseTest, ClosingStopsPlayback) {
    Document.modified = false;
    View.StartPlayback();
    ASSERT_TRUE(View.Player().IsPlaying());
    EXPECT_TRUE(View.CanCloseDocument());
    EXPECT_FALSE(View.Player().IsPlaying());
    EXPECT_FALSE(Document.playing);
}
