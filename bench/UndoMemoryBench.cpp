// Memory and speed of undo over an edit session: 200 small edits on one hour of 44.1 kHz stereo
// and 1000 on its first two minutes (delete, fade in, fade out and insert silence of short ranges,
// and an amplify of the whole document every fiftieth edit), each through the document's operation
// runner as the user starts it. Reports the anonymous memory the session added (RssAnon of
// /proc/self/status, after the edits against before them) and the median time of one undo and of
// one redo while stepping back over the whole session and forward again.
#include "BenchSupport.h"
#include "SampleEdits.h"
#include "Settings.h"
#include "StructuralEdits.h"
#include "TFilter.h"
#include "TempFileList.h"
#include "Twavefile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <numbers>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int32_t Rate = 44100;
constexpr int64_t HourFrames = int64_t(3600) * Rate;

std::string HourPath() {
    return BenchDir() + "/hour-44100-stereo.wav";
}

/// One hour of a 1 kHz / 1.5 kHz stereo tone as a canonical WAV file, made once.
void MakeHourFile() {
    if (access(HourPath().c_str(), R_OK) == 0)
        return;
    const auto header = CanonicalWavHeader(Rate, 2, uint32_t(HourFrames * 4));
    const int fd = open(HourPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, header.data(), header.size()) != ssize_t(header.size()))
        std::abort();
    std::vector<int16_t> second(size_t(Rate) * 2);
    for (size_t f = 0; f < size_t(Rate); ++f) {
        second[2 * f] = int16_t(12000 * std::sin(2 * std::numbers::pi * 1000 * f / Rate));
        second[2 * f + 1] = int16_t(9000 * std::sin(2 * std::numbers::pi * 1500 * f / Rate));
    }
    for (int s = 0; s < 3600; ++s)
        if (write(fd, second.data(), second.size() * 2) != ssize_t(second.size() * 2))
            std::abort();
    close(fd);
}

/// Resident anonymous memory of this process in bytes.
double AnonymousBytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kib = 0;
    while (status >> key) {
        if (key == "RssAnon:") {
            status >> kib;
            break;
        }
    }
    return kib * 1024;
}

/// The document over the first `frames` frames of the hour file with the peak index and levels
/// the loader would build.
void Load(Twavefile& document, int64_t frames) {
    document.filename = HourPath();
    document.table =
        TLargeFile::CreateWithFile(HourPath(), TDataFile::Open(HourPath()), frames * 4, 2, Rate);
    document.updateinfo(*document.table);
    TFilter builder(2);
    std::vector<int16_t> block(1 << 18);
    for (int64_t at = 0; at < frames * 4; at += int64_t(block.size()) * 2) {
        const int64_t bytes = std::min<int64_t>(frames * 4 - at, int64_t(block.size()) * 2);
        document.table->Read(at, block.data(), bytes);
        builder.Feed(block.data(), bytes / 2);
    }
    builder.GetIndexData(document.peakindex);
    document.updatelevels();
    document.ready = true;
}

/// Edit `number` of the session at a random place.
bool Edit(Twavefile& document, int32_t number, std::mt19937& random) {
    const int64_t frames = document.frames;
    const int64_t start = std::uniform_int_distribution<int64_t>(0, frames - 100000)(random);
    const int64_t length = std::uniform_int_distribution<int64_t>(1000, 50000)(random);
    if (number % 50 == 49)
        return document.amplify(90);
    switch (number % 4) {
    case 0:
        return document.deleterange(start, start + length);
    case 1:
        return document.fadein(start, start + length);
    case 2:
        return document.fadeout(start, start + length);
    default:
        return document.insertsilence(start, length);
    }
}

double MedianMs(std::vector<double> seconds) {
    std::nth_element(seconds.begin(), seconds.begin() + seconds.size() / 2, seconds.end());
    return seconds[seconds.size() / 2] * 1000;
}

/// Times `step` (undo or redo) `count` times.
template <typename Step> std::vector<double> TimeSteps(int32_t count, Step step) {
    std::vector<double> seconds;
    for (int32_t i = 0; i < count; ++i) {
        const auto begin = std::chrono::steady_clock::now();
        step();
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count());
    }
    return seconds;
}

/// `edits` edits on the first `frames` frames of the hour file, then as many undos and redos.
void EditSession(benchmark::State& state, int64_t frames, int32_t edits) {
    MakeHourFile();
    Settings.tempfolder = BenchDir() + "/";
    StructuralEdits::Register();
    SampleEdits::Register();
    for (auto _ : state) {
        double growth = 0;
        std::vector<double> undos, redos;
        {
            Twavefile document;
            Load(document, frames);
            const double before = AnonymousBytes();
            std::mt19937 random(2024);
            for (int32_t i = 0; i < edits; ++i)
                if (!Edit(document, i, random))
                    state.SkipWithError("an edit did not start");
            growth = AnonymousBytes() - before;
            undos = TimeSteps(edits, [&] { document.undo(); });
            redos = TimeSteps(edits, [&] { document.redo(); });
        }
        TempFiles.DeleteAll();
        state.counters["anon_growth_MB"] = growth / 1e6;
        state.counters["undo_median_ms"] = MedianMs(undos);
        state.counters["redo_median_ms"] = MedianMs(redos);
    }
}
BENCHMARK_CAPTURE(EditSession, OneHour200Edits, HourFrames, 200)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();
BENCHMARK_CAPTURE(EditSession, TwoMinutes1000Edits, int64_t(120) * Rate, 1000)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    RunBenchmarksOnMainThread(argc, argv);
    return 0;
}
