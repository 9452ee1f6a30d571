#include "EDirectSoundError.h"
#include "IDirectSoundNotify.h"
#include "NullSoundScope.h"
#include "PlayerTestSupport.h"
#include "Twavefile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

/// Sets SONDRIX_AUDIO for one test.
class AudioDeviceScope {
public:
    explicit AudioDeviceScope(const char* device) {
        const char* value = std::getenv("SONDRIX_AUDIO");
        HadValue = value != nullptr;
        Saved = HadValue ? value : "";
        setenv("SONDRIX_AUDIO", device, 1);
    }
    ~AudioDeviceScope() {
        if (HadValue)
            setenv("SONDRIX_AUDIO", Saved.c_str(), 1);
        else
            unsetenv("SONDRIX_AUDIO");
    }

private:
    bool HadValue = false;
    std::string Saved;
};

bool AllSilent(const std::vector<uint8_t>& bytes, size_t from = 0) {
    return std::all_of(bytes.begin() + std::min(from, bytes.size()), bytes.end(),
                       [](uint8_t b) { return b == 0; });
}

bool StartsWith(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

void PlayToEnd(TPlayer& player) {
    for (int step = 0; player.IsPlaying() && step < 2000; ++step)
        NullSoundScope::Advance();
    ASSERT_FALSE(player.IsPlaying());
}

} // namespace

TEST(TPlayerControl, CloseWhilePlayingStopsAtOnce) {
    NullSoundScope scope;
    PlayerRig rig(2, 8000, {{false, 20000}});
    rig.Player.Prepare(rig.Document, 0, 80000, rig.Table.Format(), false);
    rig.Player.Play();
    NullSoundScope::Advance(30);
    rig.Player.Close();
    EXPECT_FALSE(rig.Player.IsPlaying());
    EXPECT_FALSE(rig.Player.IsPrepared());
    EXPECT_TRUE(rig.Document.Gate.IsSet());
    EXPECT_FALSE(rig.Record.Statuses.back());
    const size_t heard = NullSoundOutput::Captured().size();
    const size_t reports = rig.Record.Positions.size();
    NullSoundScope::Advance(30);
    EXPECT_EQ(NullSoundOutput::Captured().size(), heard);
    EXPECT_EQ(rig.Record.Positions.size(), reports);
    EXPECT_TRUE(StartsWith(rig.Table.Range(0, 20000), NullSoundOutput::Captured()));
}

TEST(TPlayerControl, PrepareWhilePlayingPlaysTheNewRange) {
    NullSoundScope scope;
    PlayerRig rig(2, 8000, {{false, 20000}});
    rig.Player.Prepare(rig.Document, 0, 80000, rig.Table.Format(), false);
    rig.Player.Play();
    NullSoundScope::Advance(30);
    rig.Player.Prepare(rig.Document, 2 * 7000, 4 * 700, rig.Table.Format(), false);
    EXPECT_FALSE(rig.Player.IsPlaying());
    EXPECT_TRUE(rig.Document.Gate.IsSet());
    NullSoundOutput::BeginCapture();
    rig.Player.Play();
    PlayToEnd(rig.Player);
    const std::vector<uint8_t> heard = NullSoundOutput::Captured();
    EXPECT_TRUE(StartsWith(heard, rig.Table.Range(7000, 700)));
    EXPECT_TRUE(AllSilent(heard, 2800));
    EXPECT_EQ(rig.Record.Positions.back(), 2800);
}

TEST(TPlayerControl, PlayWhilePlayingRestartsFromTheFirstByte) {
    NullSoundScope scope;
    PlayerRig rig(2, 8000, {{false, 20000}});
    rig.Player.Prepare(rig.Document, 0, 4 * 12000, rig.Table.Format(), false);
    rig.Player.Play();
    NullSoundScope::Advance(60); // past the first fill: segments were refilled
    ASSERT_TRUE(rig.Player.IsPlaying());
    rig.Record.Statuses.clear();
    NullSoundOutput::BeginCapture();
    rig.Player.Play();
    // Stopped (the stop notification may repeat that), then started.
    ASSERT_GE(rig.Record.Statuses.size(), 2u);
    EXPECT_TRUE(rig.Record.Statuses.back());
    EXPECT_EQ(std::count(rig.Record.Statuses.begin(), rig.Record.Statuses.end(), true), 1);
    PlayToEnd(rig.Player);
    const std::vector<uint8_t> heard = NullSoundOutput::Captured();
    EXPECT_TRUE(StartsWith(heard, rig.Table.Range(0, 12000)));
    EXPECT_TRUE(AllSilent(heard, 48000));
    EXPECT_EQ(rig.Record.Positions.back(), 48000);
}

TEST(TPlayerControl, PlayAfterTheEndPlaysTheRangeAgain) {
    NullSoundScope scope;
    TempDir dir;
    const TestTable table = MakeTable(dir, 2, 8000, {{false, 20000}});
    FakeDocument document(table.Table);
    TPlayer player;
    // Longer than the buffer, so that the ring no longer holds the range's start at the end.
    player.Prepare(document, 2 * 100, 4 * 9000, table.Format(), false);
    player.Play();
    PlayToEnd(player);
    NullSoundScope::Settle();
    NullSoundOutput::BeginCapture();
    player.Play();
    PlayToEnd(player);
    const std::vector<uint8_t> heard = NullSoundOutput::Captured();
    EXPECT_TRUE(StartsWith(heard, table.Range(100, 9000)));
    EXPECT_TRUE(AllSilent(heard, 36000));
}

TEST(TPlayerControl, RefillFailureStopsAndReports) {
    // A (4000 frames) and B (6000 frames) fill the buffer; C's file fails to read before the
    // refills reach it.
    NullSoundScope scope;
    PlayerRig rig(2, 8000, {{false, 4000}, {false, 6000}, {false, 6000}});
    rig.Player.Prepare(rig.Document, 0, 4 * 16000, rig.Table.Format(), false);
    rig.Table.BreakDataFile(2);
    rig.Player.Play();
    PlayToEnd(rig.Player);
    ASSERT_EQ(rig.Record.Errors.size(), 1u);
    EXPECT_FALSE(rig.Record.Errors[0].empty());
    EXPECT_FALSE(rig.Record.Statuses.back());
    EXPECT_TRUE(rig.Document.Gate.IsSet());
    const size_t heard = NullSoundOutput::Captured().size();
    NullSoundScope::Advance(120);
    EXPECT_EQ(NullSoundOutput::Captured().size(), heard) << "no endless loop of the last second";
    EXPECT_EQ(rig.Record.Errors.size(), 1u);

    // The failed refill left no lock behind: the player is still usable.
    NullSoundOutput::BeginCapture();
    rig.Player.Prepare(rig.Document, 0, 4 * 600, rig.Table.Format(), false);
    rig.Player.Play();
    PlayToEnd(rig.Player);
    EXPECT_TRUE(StartsWith(NullSoundOutput::Captured(), rig.Table.Range(0, 600)));
}

TEST(TPlayerControl, DocumentNotReadyStopsAtTheNextNotification) {
    NullSoundScope scope;
    PlayerRig rig(2, 8000, {{false, 20000}});
    rig.Player.Prepare(rig.Document, 0, 80000, rig.Table.Format(), false);
    rig.Player.Play();
    NullSoundScope::Advance(10);
    rig.Document.Ready = false;
    const size_t reports = rig.Record.Positions.size();
    PlayToEnd(rig.Player);
    EXPECT_EQ(rig.Record.Positions.size(), reports);
    EXPECT_FALSE(rig.Record.Statuses.back());
    EXPECT_TRUE(rig.Document.Gate.IsSet());
    EXPECT_LE(NullSoundOutput::Captured().size(), 10u * 320 + 2 * 2000);
}

TEST(TPlayerControl, DeliveryWhileThePlayerIsFreedDoesNothing) {
    NullSoundScope scope;
    TempDir dir;
    const TestTable table = MakeTable(dir, 2, 8000, {{false, 20000}});
    FakeDocument document(table.Table);
    PlayerRecord record;
    {
        TPlayer player;
        record.Attach(player);
        player.Prepare(document, 0, 80000, table.Format(), false);
        player.Play();
        NullSoundScope::Advance(6);
        NullSoundOutput::Clock().Advance(10'000'000); // crosses the first segment's end
        ASSERT_TRUE(MainThreadDispatcher::SyncEvent().Wait(10000))
            << "the delivery was not handed over";
        record.Statuses.clear();
        player.Close(); // serves the delivery while the buffer goes
        EXPECT_TRUE(record.Positions.empty());
        EXPECT_EQ(record.Statuses, std::vector<bool>{false});
        player.Prepare(document, 0, 80000, table.Format(), false);
        player.Play();
        NullSoundScope::Advance(3);
    }
    EXPECT_TRUE(document.Gate.IsSet()) << "freeing a playing player opens the gate";
    EXPECT_EQ(IDirectSoundNotify::Outstanding(), 0);
}

TEST(TPlayerControl, FailedPrepareLeavesNothingBuilt) {
    NullSoundScope scope;
    TempDir dir;
    const TestTable table = MakeTable(dir, 2, 8000, {{false, 20000}});
    FakeDocument document(table.Table);
    table.BreakDataFile(0);
    PlayerRecord record;
    TPlayer player;
    record.Attach(player);
    EXPECT_ANY_THROW(player.Prepare(document, 0, 8000, table.Format(), false));
    EXPECT_FALSE(player.IsPrepared());
    WAVEFORMATEX badFormat = table.Format();
    badFormat.nBlockAlign = 0;
    EXPECT_THROW(player.Prepare(document, 0, 8000, badFormat, false), EDirectSoundError);
    EXPECT_FALSE(player.IsPrepared());
    record.Statuses.clear();
    player.Play();
    EXPECT_EQ(record.Statuses, std::vector<bool>{false}) << "nothing to play";
    EXPECT_TRUE(document.Gate.IsSet());
}

TEST(TPlayerControl, NoSoundDeviceFailsPlayNotTheDocument) {
    AudioDeviceScope device("alsa:sondrix-no-such-device");
    TempDir dir;
    const TestTable table = MakeTable(dir, 2, 8000, {{false, 2000}});
    FakeDocument document(table.Table);
    PlayerRecord record;
    TPlayer player; // no device needed yet
    record.Attach(player);
    player.Prepare(document, 0, 8000, table.Format(), false);
    record.Statuses.clear();
    try {
        player.Play();
        ADD_FAILURE() << "Play without a sound device raised nothing";
    } catch (const EDirectSoundError& error) {
        EXPECT_EQ(error.Code, DSERR_NODRIVER);
        EXPECT_NE(std::string(error.what()).find("No sound driver is available for use"),
                  std::string::npos);
        EXPECT_EQ(record.Statuses, std::vector<bool>{false}) << "reported before the raise";
    }
    EXPECT_FALSE(player.IsPlaying());
    EXPECT_TRUE(document.Gate.IsSet());
}

// ALSA's "null" PCM has no clock: this checks the calls only (open, write, stop, close).
TEST(TPlayerControl, PlaysThroughAlsaNullPcm) {
    AudioDeviceScope device("alsa:null");
    PlayerRig rig(2, 44100, {{false, 44100}});
    rig.Player.Prepare(rig.Document, 0, 4 * 44100, rig.Table.Format(), false);
    rig.Player.Play();
    EXPECT_TRUE(rig.Player.IsPlaying());
    EXPECT_FALSE(rig.Document.Gate.IsSet());
    rig.Player.Close();
    EXPECT_FALSE(rig.Player.IsPlaying());
    EXPECT_TRUE(rig.Document.Gate.IsSet());
    EXPECT_TRUE(rig.Record.Errors.empty());
}

TEST(TPlayerControl, EngineDocumentsPlayWithTheirTableAndGate) {
    NullSoundScope scope;
    TempDir dir;
    const TestTable table = MakeTable(dir, 2, 8000, {{false, 2000}});
    Twavefile wavefile;
    wavefile.table = table.Table;
    wavefile.ready = true;
    PlayerRecord record;
    TPlayer player;
    record.Attach(player);
    player.Prepare(wavefile, 2 * 10, 4 * 700, table.Format(), false);
    player.Play();
    EXPECT_FALSE(wavefile.playevent.IsSet());
    PlayToEnd(player);
    EXPECT_TRUE(wavefile.playevent.IsSet());
    EXPECT_TRUE(StartsWith(NullSoundOutput::Captured(), table.Range(10, 700)));
    EXPECT_EQ(record.Positions.back(), 4 * 700);

    // Not ready: the next notification stops.
    player.Play();
    wavefile.ready = false;
    PlayToEnd(player);
    EXPECT_TRUE(wavefile.playevent.IsSet());
}

TEST(TPlayerControl, StoppingOrRestartingFromInsideItsEventsWorks) {
    enum class From { Progress, EndOfRange, Restart, ErrorMessage };
    for (const From from : {From::Progress, From::EndOfRange, From::Restart, From::ErrorMessage}) {
        NullSoundScope scope;
        PlayerRig rig(2, 8000, {{false, 4000}, {false, 6000}, {false, 6000}});
        bool started = false;
        bool restarted = false;
        rig.Player.OnPlayProcess = [&](int32_t) {
            if (from == From::Progress)
                rig.Player.Close();
            if (from == From::Restart && !restarted) {
                restarted = true;
                NullSoundOutput::BeginCapture();
                rig.Player.Prepare(rig.Document, 2 * 9000, 4 * 800, rig.Table.Format(), false);
                rig.Player.Play();
            }
        };
        rig.Player.OnPlayStatus = [&](bool playing) {
            if (playing)
                started = true;
            else if (from == From::EndOfRange && started) {
                started = false; // Close reports the stop again
                rig.Player.Close();
            }
        };
        // The refill failure's message box closes the player.
        if (from == From::ErrorMessage)
            rig.Table.BreakDataFile(2);
        rig.Record.WhileShown = [&] { rig.Player.Close(); };
        const uint32_t range = from == From::ErrorMessage ? 4 * 16000 : 4 * 3000;
        rig.Player.Prepare(rig.Document, 0, range, rig.Table.Format(), false);
        rig.Player.Play();
        PlayToEnd(rig.Player);
        NullSoundScope::Settle();
        EXPECT_FALSE(rig.Player.IsPlaying());
        EXPECT_TRUE(rig.Document.Gate.IsSet());
        EXPECT_EQ(rig.Record.Errors.size(), from == From::ErrorMessage ? 1u : 0u);
        if (from == From::Restart)
            EXPECT_EQ(NullSoundOutput::Captured(), rig.Table.Range(9000, 800));
        if (from == From::EndOfRange)
            EXPECT_EQ(NullSoundOutput::Captured(), rig.Table.Range(0, 3000));
        EXPECT_EQ(IDirectSoundNotify::Outstanding(), 0);
    }
}
