#include "BenchSupport.h"

#include "MainThreadDispatcher.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

std::string BenchDir(const std::string& fallback) {
    const char* dir = std::getenv("BENCH_DIR");
    return dir ? dir : fallback;
}

namespace {

void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(value >> (8 * i));
}

} // namespace

std::array<uint8_t, 44> CanonicalWavHeader(uint32_t rate, uint32_t channels, uint32_t dataBytes) {
    std::array<uint8_t, 44> header{};
    std::memcpy(header.data(), "RIFF", 4);
    std::memcpy(header.data() + 8, "WAVEfmt ", 8);
    std::memcpy(header.data() + 36, "data", 4);
    Put32(header.data() + 4, 36 + dataBytes);
    Put32(header.data() + 16, 16);
    Put32(header.data() + 20, 1 | channels << 16); // PCM, channels
    Put32(header.data() + 24, rate);
    Put32(header.data() + 28, rate * channels * 2);
    Put32(header.data() + 32, (channels * 2) | 16 << 16); // block align, bits per sample
    Put32(header.data() + 40, dataBytes);
    return header;
}

void RunBenchmarksOnMainThread(int& argc, char** argv) {
    QCoreApplication app(argc, argv);
    MainThreadDispatcher::SetMainThread();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
