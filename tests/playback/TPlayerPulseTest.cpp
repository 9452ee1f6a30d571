// The player on a real, clocked device: ALSA's "default" routed by the pulse plugin into a
// PulseAudio null sink, whose monitor is recorded. The recording, aligned by correlation, is
// compared with the document frame by frame.
#include "MainThreadDispatcher.h"
#include "PlayerTestSupport.h"
#include "PulseNullSink.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <numbers>
#include <thread>

namespace {

/// A table of one piece holding a sweep per channel, each channel its own (rising from
/// 100 Hz × (c + 1), falling for odd channels), at half scale.
TestTable SweepTable(const TempDir& dir, int32_t rate, int32_t channels, double seconds) {
    const auto frames = static_cast<int64_t>(rate * seconds);
    std::vector<int16_t> samples;
    std::vector<double> phase(size_t(channels), 0.0);
    for (int64_t f = 0; f < frames; ++f) {
        const double t = double(f) / frames;
        for (int32_t c = 0; c < channels; ++c) {
            const double low = 100.0 * (c + 1);
            const double high = 6000.0 - 300.0 * c;
            const double frequency = c % 2 == 0 ? low + (high - low) * t : high - (high - low) * t;
            phase[size_t(c)] += 2 * std::numbers::pi * frequency / rate;
            samples.push_back(
                static_cast<int16_t>(std::lround(16000 * std::sin(phase[size_t(c)]))));
        }
    }
    return MakeOnePieceTable(dir, "sweep", channels, rate, samples);
}

struct Playback {
    std::vector<int16_t> recording;
    int64_t framesRecordedAtStop = -1;
    std::vector<std::string> errors;
};

/// Plays the whole table and serves the notifications on this thread until the player stops;
/// `onProgress` runs in the player's progress event (a stall there stalls the main thread).
Playback PlayThrough(PulseNullSink& sink, const TestTable& table,
                     const std::function<void(uint32_t)>& onProgress) {
    Playback result;
    if (!sink.StartRecording()) {
        ADD_FAILURE() << "parec does not record the monitor";
        return result;
    }
    FakeDocument document(table.Table);
    PlayerRecord record;
    {
        TPlayer player;
        bool started = false;
        player.OnPlayProcess = [&](int32_t bytes) { onProgress(uint32_t(bytes)); };
        player.OnPlayStatus = [&](bool playing) {
            if (playing)
                started = true;
            else if (started && result.framesRecordedAtStop < 0)
                result.framesRecordedAtStop = sink.RecordedBytes() / (2 * table.Channels);
        };
        player.Prepare(document, 0, uint32_t(table.Bytes.size()), table.Format(), false);
        player.Play();
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (player.IsPlaying() && std::chrono::steady_clock::now() < giveUp)
            if (!MainThreadDispatcher::CheckSynchronize())
                MainThreadDispatcher::SyncEvent().Wait(5);
        EXPECT_FALSE(player.IsPlaying()) << "playback did not end";
    }
    MainThreadDispatcher::CheckSynchronize();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    result.recording = ToSamples(sink.StopRecording());
    result.errors = record.Errors;
    return result;
}

/// The frame of the recording where the table's first frame lies: the best correlation of a
/// window of the table with the recording near where the recording stops being silent.
int64_t Align(const std::vector<int16_t>& recording, const std::vector<int16_t>& table,
              int32_t channels) {
    const int64_t window = 2048;
    const int64_t from = 1000;
    const int64_t recorded = int64_t(recording.size()) / channels;
    int64_t firstSound = 0;
    while (firstSound < recorded && recording[size_t(firstSound * channels)] == 0 &&
           recording[size_t(firstSound * channels + 1)] == 0)
        ++firstSound;
    int64_t best = -1;
    double bestScore = 0;
    for (int64_t k = std::max<int64_t>(0, firstSound - 2000); k <= firstSound + 2000; ++k) {
        if (k + from + window > recorded)
            break;
        double score = 0;
        for (int64_t i = from * channels; i < (from + window) * channels; ++i)
            score += double(recording[size_t(k * channels + i)]) * table[size_t(i)];
        if (score > bestScore) {
            bestScore = score;
            best = k;
        }
    }
    return best;
}

/// The frames of the table whose recorded frame (at the alignment) differs, as [first, last];
/// first = -1 when none does.
std::pair<int64_t, int64_t> Mismatches(const std::vector<int16_t>& recording, int64_t at,
                                       const std::vector<int16_t>& table, int32_t channels) {
    const int64_t frames = int64_t(table.size()) / channels;
    std::pair<int64_t, int64_t> span{-1, -1};
    for (int64_t f = 0; f < frames; ++f) {
        const size_t r = size_t((at + f) * channels);
        const bool same = r + channels <= recording.size() &&
                          std::equal(table.begin() + f * channels,
                                     table.begin() + (f + 1) * channels, recording.begin() + r);
        if (!same) {
            if (span.first < 0)
                span.first = f;
            span.second = f;
        }
    }
    return span;
}

bool SilentOutside(const std::vector<int16_t>& recording, int64_t at, int64_t frames,
                   int32_t channels) {
    const auto silent = [](int16_t v) { return v == 0; };
    const auto begin = recording.begin() + at * channels;
    const auto end =
        recording.begin() + std::min<int64_t>(int64_t(recording.size()), (at + frames) * channels);
    return std::all_of(recording.begin(), begin, silent) &&
           std::all_of(end, recording.end(), silent);
}

uint32_t SegmentBytes(const TestTable& table) {
    const uint32_t align = 2 * table.Channels;
    return (align * uint32_t(table.Rate) / 16 + align - 1) / align * align;
}

/// A main-thread stall of `stall` the first time the progress reaches `at` bytes.
std::function<void(uint32_t)> StallOnceAt(uint32_t at, std::chrono::milliseconds stall) {
    auto done = std::make_shared<bool>(false);
    return [=](uint32_t bytes) {
        if (*done || bytes < at)
            return;
        *done = true;
        std::this_thread::sleep_for(stall);
    };
}

class TPlayerPulse : public testing::Test {
protected:
    /// Plays a sweep through a sink of the table's format; the checks are the caller's.
    Playback Play(int32_t rate, int32_t channels, double seconds,
                  const std::function<std::function<void(uint32_t)>(const TestTable&)>& stall) {
        Sink = std::make_unique<PulseNullSink>(rate, channels);
        if (!Sink->Failure().empty())
            return {};
        Table = std::make_unique<TestTable>(SweepTable(Dir, rate, channels, seconds));
        return PlayThrough(*Sink, *Table, stall(*Table));
    }

    bool Skipped() const { return Sink && !Sink->Failure().empty(); }

    /// Every frame once and in order, silence around it, the stop within 150 ms of the last
    /// frame; returns the alignment.
    int64_t ExpectExact(const Playback& played) {
        const std::vector<int16_t> table = ToSamples(Table->Bytes);
        const int64_t frames = int64_t(table.size()) / Table->Channels;
        const int64_t at = Align(played.recording, table, Table->Channels);
        EXPECT_GE(at, 0) << "the sweep is not in the recording";
        if (at < 0)
            return at;
        const auto [first, last] = Mismatches(played.recording, at, table, Table->Channels);
        EXPECT_EQ(first, -1) << "frames " << first << " to " << last << " of " << frames
                             << " differ";
        EXPECT_TRUE(SilentOutside(played.recording, at, frames, Table->Channels))
            << "something besides the sweep was heard";
        ExpectStopInTime(played, at + frames);
        EXPECT_TRUE(played.errors.empty());
        return at;
    }

    void ExpectStopInTime(const Playback& played, int64_t end) const {
        EXPECT_GE(played.framesRecordedAtStop, 0) << "no stop reported";
        EXPECT_LE(played.framesRecordedAtStop - end, Table->Rate * 150 / 1000)
            << "the stop came " << (played.framesRecordedAtStop - end) * 1000 / Table->Rate
            << " ms after the last frame";
    }

    TempDir Dir;
    std::unique_ptr<PulseNullSink> Sink;
    std::unique_ptr<TestTable> Table;
};

const auto NoStall = [](const TestTable&) {
    return std::function<void(uint32_t)>([](uint32_t) {});
};

} // namespace

TEST_F(TPlayerPulse, EveryFramePlaysOnceAndInOrder) {
    const Playback played = Play(44100, 2, 3.0, NoStall);
    if (Skipped())
        GTEST_SKIP() << Sink->Failure();
    ExpectExact(played);
}

TEST_F(TPlayerPulse, AStallOverTheLastTwoNotificationsKeepsTheEnd) {
    const Playback played = Play(44100, 2, 3.0, [](const TestTable& table) {
        const auto range = uint32_t(table.Bytes.size());
        return StallOnceAt(range - 2 * SegmentBytes(table), std::chrono::milliseconds(170));
    });
    if (Skipped())
        GTEST_SKIP() << Sink->Failure();
    ExpectExact(played);
}

TEST_F(TPlayerPulse, AfterAStallLongerThanTheBufferTheSoundGoesOnFromTheRightPlace) {
    const Playback played = Play(44100, 2, 3.0, [](const TestTable& table) {
        return StallOnceAt(uint32_t(table.Bytes.size()) / 5, std::chrono::milliseconds(1200));
    });
    if (Skipped())
        GTEST_SKIP() << Sink->Failure();
    const std::vector<int16_t> table = ToSamples(Table->Bytes);
    const int64_t frames = int64_t(table.size()) / 2;
    const int64_t at = Align(played.recording, table, 2);
    ASSERT_GE(at, 0) << "the sweep is not in the recording";
    // The ring held a second, so what played stale is what the stall took beyond it; the rest
    // of the range, after it, is exactly where the time has got to.
    const auto [first, last] = Mismatches(played.recording, at, table, 2);
    ASSERT_GE(first, frames / 5) << "a frame before the stall differs";
    EXPECT_LE(last - first, 44100 * 6 / 10) << "stale from frame " << first << " to " << last;
    EXPECT_GE(frames - last, 44100 / 2) << "the sound did not go on from the right place: stale "
                                        << "from frame " << first << " to " << last;
    EXPECT_TRUE(SilentOutside(played.recording, at, frames, 2));
    ExpectStopInTime(played, at + frames);
}

TEST_F(TPlayerPulse, EightChannelsAt96kHzPlayExactly) {
    const Playback played = Play(96000, 8, 2.0, NoStall);
    if (Skipped())
        GTEST_SKIP() << Sink->Failure();
    ExpectExact(played);
}
