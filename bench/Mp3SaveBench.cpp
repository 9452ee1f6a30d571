// An MP3 save of one hour of 44.1 kHz stereo audio through the document's save operation, beside
// the lame command line encoding the same samples from a WAV file with the same settings
// (128 kbps constant bitrate, plain stereo, quality 5, no VBR header, no ReplayGain analysis).
// Both run in the same process, one after the other; the ratio is printed at the end.
#include "BenchSupport.h"
#include "TSaveOperations.h"
#include "Twavefile.h"

#include <QElapsedTimer>
#include <QProcess>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <numbers>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int32_t Rate = 44100;
constexpr int32_t Channels = 2;
constexpr int64_t Frames = int64_t(Rate) * 3600;
constexpr int64_t DataBytes = Frames * Channels * 2;
constexpr int32_t Kbps128 = 5; // position of 128 kbps in the dialog's list at 44.1 kHz

std::string SourcePath() {
    return BenchDir() + "/mp3save-hour.wav";
}

/// A canonical WAV file (44-byte header, then PCM) of two tones with a little noise, made once.
void MakeSource() {
    if (access(SourcePath().c_str(), R_OK) == 0)
        return;
    const auto header = CanonicalWavHeader(Rate, Channels, uint32_t(DataBytes));
    std::ofstream out(SourcePath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header.data()), std::streamsize(header.size()));
    std::vector<int16_t> block(size_t(Rate) * Channels);
    uint32_t noise = 1;
    for (int64_t second = 0; second < 3600; ++second) {
        for (int32_t f = 0; f < Rate; ++f) {
            const double t = double(f) / Rate;
            for (int32_t c = 0; c < Channels; ++c) {
                noise = noise * 1664525u + 1013904223u;
                const double tone =
                    9000 * std::sin(2 * std::numbers::pi * (220.0 * (c + 1) + second % 7 * 55) * t);
                block[size_t(f * Channels + c)] = int16_t(tone + int32_t(noise >> 20) - 2048);
            }
        }
        out.write(reinterpret_cast<const char*>(block.data()), std::streamsize(block.size() * 2));
    }
    if (!out)
        std::abort();
}

class FixedChoice : public IMpegSettingsDialog {
public:
    bool Execute(int32_t, TMpegSettingsChoice& choice) override {
        choice = TMpegSettingsChoice{};
        choice.Bitrate = Kbps128;
        return true;
    }
};

double SaveSeconds = 0;
double LameSeconds = 0;

void SaveOperationMp3(benchmark::State& state) {
    MakeSource();
    FixedChoice dialog;
    TSaveOperations::Register();
    TSaveOperations::SetMpegSettingsDialog(&dialog);
    Twavefile document;
    document.table = TLargeFile::CreateWithFile("hour.wav", TDataFile::Open(SourcePath()),
                                                DataBytes, Channels, Rate);
    document.updateinfo(*document.table);
    document.ready = true;
    const std::string target = BenchDir() + "/mp3save-ours.mp3";
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (!TSaveOperations::saverange(document, target, 0, uint32_t(Frames)))
            state.SkipWithError("the save did not start");
        SaveSeconds = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(SaveSeconds);
    }
    TSaveOperations::SetMpegSettingsDialog(nullptr);
    state.SetBytesProcessed(int64_t(state.iterations()) * DataBytes);
}

void LameCommandLine(benchmark::State& state) {
    MakeSource();
    const QString target = QString::fromStdString(BenchDir() + "/mp3save-lame.mp3");
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        QProcess lame;
        lame.start("lame", {"--quiet", "-t", "-m", "s", "-b", "128", "-q", "5", "--noreplaygain",
                            QString::fromStdString(SourcePath()), target});
        if (!lame.waitForFinished(-1) || lame.exitCode() != 0)
            state.SkipWithError("lame failed");
        LameSeconds = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(LameSeconds);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * DataBytes);
}

BENCHMARK(SaveOperationMp3)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(LameCommandLine)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

int main(int argc, char** argv) {
    RunBenchmarksOnMainThread(argc, argv);
    if (SaveSeconds > 0 && LameSeconds > 0)
        std::printf("MP3 save of one hour: %.2f s, lame: %.2f s, ratio %.3f\n", SaveSeconds,
                    LameSeconds, SaveSeconds / LameSeconds);
    return 0;
}
