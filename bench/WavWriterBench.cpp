// Saving one hour of 44.1 kHz stereo through the WAV writer, as the save worker does it: the
// source WAV's samples are read in blocks of 64000 samples and pushed into the writer. Once as
// 16-bit PCM (a copy through the writer) and once as IMA ADPCM. bench/wavwriter.sh runs `cp`
// and ffmpeg's IMA ADPCM encoder on the same file in the same run.
#include "AudioCompression.h"
#include "BenchSupport.h"
#include "WAVWriter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

/// The source: a canonical 44-byte-header 16-bit stereo WAV at 44.1 kHz, made by the script.
std::string SourcePath() {
    return BenchDir("/tmp/sondrix-bench") + "/hour-stereo.wav";
}

WAVEFORMATEX Source() {
    WAVEFORMATEX f{};
    f.wFormatTag = 1;
    f.nChannels = 2;
    f.nSamplesPerSec = 44100;
    f.nBlockAlign = 4;
    f.nAvgBytesPerSec = 176400;
    f.wBitsPerSample = 16;
    return f;
}

WaveFormatBlock Target(uint16_t tag) {
    std::vector<WaveFormatBlock> formats;
    AudioCompression::System().FormatEnumConvertible(Source(), formats);
    for (const auto& format : formats) {
        const WAVEFORMATEX f = ReadWaveFormat(format.data());
        if (f.wFormatTag == tag && f.nSamplesPerSec == 44100 && f.nChannels == 2 &&
            (tag != 1 || f.wBitsPerSample == 16))
            return format;
    }
    std::abort();
}

void Save(benchmark::State& state, uint16_t tag, const char* name) {
    const int source = open(SourcePath().c_str(), O_RDONLY);
    if (source < 0) {
        state.SkipWithError("no source file: run bench/wavwriter.sh");
        return;
    }
    const std::string target = BenchDir("/tmp/sondrix-bench") + "/" + name;
    std::vector<uint8_t> block(128000);
    int64_t bytes = 0;
    for (auto _ : state) {
        WAVWriter writer(Source(), Target(tag));
        writer.Open(target);
        for (off_t at = 44;; at += off_t(block.size())) {
            const ssize_t got = pread(source, block.data(), block.size(), at);
            if (got <= 0)
                break;
            writer.Write(block.data(), int32_t(got));
            bytes += got;
        }
        writer.Close();
    }
    close(source);
    unlink(target.c_str());
    state.SetBytesProcessed(bytes);
}

void SavePcm16(benchmark::State& state) {
    Save(state, 1, "writer-pcm16.wav");
}

void SaveImaAdpcm(benchmark::State& state) {
    Save(state, 0x11, "writer-ima.wav");
}

BENCHMARK(SavePcm16)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(SaveImaAdpcm)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
