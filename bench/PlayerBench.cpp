// The streaming player on the null device: the cost of filling one segment from a piece table
// (44.1 kHz stereo and 96 kHz with 8 channels) beside a plain copy of the same bytes, the time
// from Play to a running buffer, and the segments refilled too late (heard stale) while the main
// thread is kept busy.
#include "BenchSupport.h"
#include "IDirectSoundNotify.h"
#include "MainThreadDispatcher.h"
#include "NullSoundOutput.h"
#include "TLargeFile.h"
#include "TPlayer.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Seconds = 10;

class BenchDocument : public IPlayerDocument {
public:
    explicit BenchDocument(std::shared_ptr<TLargeFile> table)
        : Table(std::move(table)) {}
    std::shared_ptr<TLargeFile> CurrentTable() override { return Table; }
    bool IsReady() const override { return true; }
    Event& PlayingGate() override { return Gate; }

    std::shared_ptr<TLargeFile> Table;
    Event Gate{true, true};
};

std::string DataPath(int rate, int channels) {
    return BenchDir() + "/player-" + std::to_string(rate) + "x" + std::to_string(channels) + ".raw";
}

/// A headerless data file of `Seconds` seconds of a changing signal, made once.
std::shared_ptr<TLargeFile> MakeTable(int rate, int channels) {
    const std::string path = DataPath(rate, channels);
    const int64_t bytes = int64_t(rate) * channels * 2 * Seconds;
    if (access(path.c_str(), R_OK) != 0) {
        std::vector<int16_t> samples(size_t(bytes / 2));
        for (size_t i = 0; i < samples.size(); ++i)
            samples[i] = int16_t(i * 7919);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || write(fd, samples.data(), size_t(bytes)) != bytes)
            std::abort();
        close(fd);
    }
    auto table = std::make_shared<TLargeFile>("bench", channels, rate);
    // Pieces of a second each, so that the window moves between files as in an edited document.
    const auto file = TDataFile::Open(path);
    for (int s = 0; s < Seconds; ++s)
        table->Add({bytes / Seconds, TChunk::FileBacked, file, s * (bytes / Seconds)});
    table->UpdateSize();
    return table;
}

WAVEFORMATEX Format(int rate, int channels) {
    const auto align = uint16_t(2 * channels);
    return WAVEFORMATEX{
        WAVE_FORMAT_PCM, uint16_t(channels), uint32_t(rate), uint32_t(rate) * align, align, 16, 0};
}

uint32_t SegmentBytes(int rate, int channels) {
    const uint32_t align = 2 * channels;
    return (align * rate / 16 + align - 1) / align * align;
}

/// Prepare fills all 16 segments of the buffer from the table: the time per segment is the
/// refill cost (buffer creation included, spread over the 16).
void FillPerSegment(benchmark::State& state) {
    const int rate = int(state.range(0));
    const int channels = int(state.range(1));
    setenv("SONDRIX_AUDIO", "null", 1);
    BenchDocument document(MakeTable(rate, channels));
    TPlayer player;
    const uint32_t bytesPerSecond = uint32_t(rate) * channels * 2;
    uint32_t second = 0;
    for (auto _ : state) {
        const uint32_t start = (second++ % (Seconds - 1)) * bytesPerSecond / 2;
        player.Prepare(document, start, bytesPerSecond, Format(rate, channels), false);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 16 * SegmentBytes(rate, channels));
    state.counters["segment_us"] = benchmark::Counter(
        double(state.iterations()) * 16, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

/// The same bytes copied with memcpy from memory: the floor for a refill.
void PlainCopyPerSegment(benchmark::State& state) {
    const int rate = int(state.range(0));
    const int channels = int(state.range(1));
    const uint32_t segment = SegmentBytes(rate, channels);
    std::vector<uint8_t> source(size_t(segment) * 16 * 4, 1), target(segment);
    size_t at = 0;
    for (auto _ : state) {
        std::memcpy(target.data(), source.data() + at, segment);
        benchmark::DoNotOptimize(target.data());
        at = (at + segment) % (source.size() - segment);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * segment);
    state.counters["segment_us"] = benchmark::Counter(
        double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

/// From Play to a playing buffer (notification thread, sound output and render thread
/// started), after Prepare; `device` 0 is the null device, 1 ALSA's "null" PCM.
void StartLatency(benchmark::State& state) {
    setenv("SONDRIX_AUDIO", state.range(0) == 0 ? "null" : "alsa:null", 1);
    BenchDocument document(MakeTable(44100, 2));
    TPlayer player;
    for (auto _ : state) {
        state.PauseTiming();
        player.Prepare(document, 0, 44100 * 4, Format(44100, 2), false);
        state.ResumeTiming();
        player.Play();
        state.PauseTiming();
        player.Close();
        MainThreadDispatcher::CheckSynchronize();
        state.ResumeTiming();
    }
    setenv("SONDRIX_AUDIO", "null", 1);
}

/// Plays three seconds on the steady clock while the main thread turns its event loop only every
/// `busy` ms, and counts the segments refilled too late: those heard differently from the range.
void BusyMainThread(benchmark::State& state) {
    setenv("SONDRIX_AUDIO", "null", 1);
    const int rate = 44100;
    BenchDocument document(MakeTable(rate, 2));
    const uint32_t range = uint32_t(rate) * 4 * 3;
    std::vector<uint8_t> expected(range);
    document.Table->Read(0, expected.data(), range);
    const auto busy = std::chrono::milliseconds(state.range(0));
    double lateSegments = 0;
    for (auto _ : state) {
        TPlayer player;
        NullSoundOutput::BeginCapture();
        player.Prepare(document, 0, range, Format(rate, 2), false);
        player.Play();
        while (player.IsPlaying()) {
            const auto until = std::chrono::steady_clock::now() + busy;
            while (std::chrono::steady_clock::now() < until) {
            }
            MainThreadDispatcher::CheckSynchronize();
        }
        const std::vector<uint8_t> heard = NullSoundOutput::Captured();
        NullSoundOutput::EndCapture();
        const uint32_t segment = SegmentBytes(rate, 2);
        for (uint32_t at = 0; at < range; at += segment) {
            const uint32_t n = std::min(segment, range - at);
            if (heard.size() < at + n || std::memcmp(heard.data() + at, expected.data() + at, n))
                ++lateSegments;
        }
    }
    state.counters["late_segments"] = lateSegments / double(state.iterations());
    state.counters["segments"] =
        double((range + SegmentBytes(rate, 2) - 1) / SegmentBytes(rate, 2));
}

} // namespace

BENCHMARK(PlainCopyPerSegment)->Args({44100, 2})->Args({96000, 8});
BENCHMARK(FillPerSegment)->Args({44100, 2})->Args({96000, 8})->Unit(benchmark::kMicrosecond);
BENCHMARK(StartLatency)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->Iterations(50);
BENCHMARK(BusyMainThread)
    ->Arg(10)
    ->Arg(100)
    ->Arg(500)
    ->Arg(900)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

int main(int argc, char** argv) {
    RunBenchmarksOnMainThread(argc, argv);
    return 0;
}
