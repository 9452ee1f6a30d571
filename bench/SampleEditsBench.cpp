// The six sample-processing edits over a whole document of one hour of 44.1 kHz stereo 16-bit
// audio (about 635 MB), each through the document's operation runner as the user starts it.
// bench/sampleedits.sh runs sox on the same file in the same run and prints the ratios.
//
// The file is $SAMPLE_EDITS_WAV (a canonical 44-byte-header WAV), made here when it is missing.
// Each iteration's result is undone and its temporary file deleted outside the timed part, so
// every run starts from the same document and the disk does not fill up.
#include "MainThreadDispatcher.h"
#include "SampleEdits.h"
#include "Settings.h"
#include "TFilter.h"
#include "Twavefile.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int32_t Channels = 2;
constexpr int32_t Rate = 44100;
constexpr int64_t Frames = int64_t(Rate) * 3600;
constexpr int64_t DataBytes = Frames * 2 * Channels;

std::string BenchDir() {
    const char* dir = std::getenv("BENCH_DIR");
    return dir ? dir : "/tmp";
}

std::string WavPath() {
    const char* path = std::getenv("SAMPLE_EDITS_WAV");
    return path ? path : BenchDir() + "/sampleedits-hour.wav";
}

void Put(std::vector<uint8_t>& header, size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        header[at + size_t(i)] = uint8_t(value >> (8 * i));
}

void Check(bool ok, const char* what) {
    if (!ok) {
        std::perror(what);
        std::exit(1);
    }
}

/// Two tones with a little noise, at about half of full scale.
void MakeWav(const std::string& path) {
    std::vector<uint8_t> header(44);
    std::memcpy(&header[0], "RIFF", 4);
    Put(header, 4, uint32_t(36 + DataBytes), 4);
    std::memcpy(&header[8], "WAVEfmt ", 8);
    Put(header, 16, 16, 4);
    Put(header, 20, 1, 2);
    Put(header, 22, Channels, 2);
    Put(header, 24, Rate, 4);
    Put(header, 28, Rate * 2 * Channels, 4);
    Put(header, 32, 2 * Channels, 2);
    Put(header, 34, 16, 2);
    std::memcpy(&header[36], "data", 4);
    Put(header, 40, uint32_t(DataBytes), 4);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    Check(fd >= 0, "create the benchmark file");
    Check(write(fd, header.data(), header.size()) == 44, "write the benchmark file");
    std::vector<int16_t> block(size_t(Rate) * Channels);
    uint32_t noise = 12345;
    for (int64_t second = 0; second < 3600; ++second) {
        for (int64_t f = 0; f < Rate; ++f) {
            const double t = double(second * Rate + f) / Rate;
            noise = noise * 1664525u + 1013904223u;
            const double n = double(int32_t(noise >> 20) - 2048);
            block[size_t(2 * f)] = int16_t(8000 * std::sin(2 * M_PI * 440 * t) + n);
            block[size_t(2 * f + 1)] = int16_t(8000 * std::sin(2 * M_PI * 660 * t) - n);
        }
        const auto bytes = ssize_t(block.size() * 2);
        Check(write(fd, block.data(), size_t(bytes)) == bytes, "write the benchmark file");
    }
    Check(close(fd) == 0, "close the benchmark file");
}

/// The document over the benchmark file, loaded once: its table and the peak index the loader
/// would have built.
Twavefile& Document() {
    static std::unique_ptr<Twavefile> document;
    if (document)
        return *document;
    const std::string path = WavPath();
    if (access(path.c_str(), R_OK) != 0)
        MakeWav(path);
    Settings.tempfolder = BenchDir();
    SampleEdits::Register();
    document = std::make_unique<Twavefile>();
    document->filename = path;
    document->table =
        TLargeFile::CreateWithFile(path, TDataFile::Open(path), DataBytes, Channels, Rate);
    document->updateinfo(*document->table);
    TFilter builder(Channels);
    std::vector<int16_t> block(1 << 18);
    for (int64_t at = 0; at < DataBytes; at += int64_t(block.size()) * 2) {
        const int64_t bytes = std::min<int64_t>(DataBytes - at, int64_t(block.size()) * 2);
        document->table->Read(at, block.data(), bytes);
        builder.Feed(block.data(), bytes / 2);
    }
    builder.GetIndexData(document->peakindex);
    document->updatelevels();
    document->ready = true;
    return *document;
}

/// Takes the edit back; the files it wrote go with the redo step.
void UndoAndDelete(Twavefile& document) {
    document.undo();
    document.redostack.clear();
}

void RunEdit(benchmark::State& state, const std::function<bool(Twavefile&)>& edit) {
    Twavefile& document = Document();
    for (auto _ : state) {
        if (!edit(document)) {
            state.SkipWithError("the edit did not start");
            break;
        }
        state.PauseTiming();
        UndoAndDelete(document);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * DataBytes);
}

void Normalize(benchmark::State& state) {
    RunEdit(state, [](Twavefile& d) { return d.normalize(100); });
}
void Amplify(benchmark::State& state) {
    RunEdit(state, [](Twavefile& d) { return d.amplify(50); });
}
void FadeIn(benchmark::State& state) {
    RunEdit(state, [](Twavefile& d) { return d.fadein(0, d.frames); });
}
void FadeOut(benchmark::State& state) {
    RunEdit(state, [](Twavefile& d) { return d.fadeout(0, d.frames); });
}
void Reverse(benchmark::State& state) {
    RunEdit(state, [](Twavefile& d) { return d.reverse(); });
}
void Invert(benchmark::State& state) {
    RunEdit(state, [](Twavefile& d) { return d.invert(); });
}

} // namespace

BENCHMARK(Normalize)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(Amplify)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(FadeIn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(FadeOut)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(Reverse)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(Invert)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    MainThreadDispatcher::SetMainThread();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
