// Sequential reading of a 1 GiB piece table, sample by sample through the read window, beside a
// plain loop that preads the same file in 512 KiB blocks and touches every sample: once as the
// compiler vectorises it, once one sample at a time, which is what a reader of single samples
// costs without any table; and a loop reading a fresh mapping of the file sample by sample, which
// is what such a reader costs without the copy.
#include "BenchSupport.h"
#include "TLargeFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int64_t DataBytes = int64_t(1) << 30;

std::string DataPath() {
    return BenchDir() + "/largefile-1g.raw";
}

void MakeDataFile() {
    const std::string path = DataPath();
    if (access(path.c_str(), R_OK) == 0)
        return;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<int16_t> block(1 << 18);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = int16_t(i * 7919);
    for (int64_t done = 0; done < DataBytes + 44; done += int64_t(block.size() * 2))
        if (write(fd, block.data(), block.size() * 2) < 0)
            std::abort();
    close(fd);
}

/// Preads the file in window-sized blocks and hands each block to `touch`.
template <class Touch> void PreadLoop(benchmark::State& state, Touch touch) {
    MakeDataFile();
    std::vector<int16_t> block(TLargeFile::WindowSize / 2);
    for (auto _ : state) {
        const int fd = open(DataPath().c_str(), O_RDONLY);
        int64_t sum = 0;
        for (int64_t at = 0; at < DataBytes; at += TLargeFile::WindowSize) {
            if (pread(fd, block.data(), TLargeFile::WindowSize, 44 + at) < 0)
                std::abort();
            sum += touch(block);
        }
        close(fd);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * DataBytes);
}

int64_t SumVectorised(const std::vector<int16_t>& block) {
    int64_t sum = 0;
    for (int16_t s : block)
        sum += s;
    return sum;
}

__attribute__((noinline, optimize("no-tree-vectorize"))) int64_t SumBySample(const int16_t* samples,
                                                                             size_t count) {
    int64_t sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum += samples[i];
    return sum;
}

void PlainPreadLoop(benchmark::State& state) {
    PreadLoop(state, SumVectorised);
}

void PreadLoopBySample(benchmark::State& state) {
    PreadLoop(state, [](const std::vector<int16_t>& block) {
        return SumBySample(block.data(), block.size());
    });
}

/// The same file mapped afresh for each pass and read one sample at a time: no copy, but every
/// page is first touched by the reader.
void MappedBySample(benchmark::State& state) {
    MakeDataFile();
    const size_t bytes = size_t(DataBytes) + 44;
    for (auto _ : state) {
        const int fd = open(DataPath().c_str(), O_RDONLY);
        void* map = mmap(nullptr, bytes, PROT_READ, MAP_SHARED, fd, 0);
        if (map == MAP_FAILED)
            std::abort();
        const auto* samples = reinterpret_cast<const int16_t*>(static_cast<uint8_t*>(map) + 44);
        benchmark::DoNotOptimize(SumBySample(samples, size_t(DataBytes / 2)));
        munmap(map, bytes);
        close(fd);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * DataBytes);
}

void ReadAtPieces(benchmark::State& state) {
    MakeDataFile();
    const int64_t pieces = state.range(0);
    TLargeFile table("bench", 2, 44100);
    const int64_t pieceBytes = DataBytes / pieces / 4 * 4;
    const auto file = TDataFile::Open(DataPath());
    for (int64_t i = 0; i < pieces; ++i)
        table.Add({pieceBytes, TChunk::FileBacked, file, 44 + i * pieceBytes});
    table.UpdateSize();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int64_t p = 0; p < table.TotalSize; p += 2)
            sum += table.ReadAt(p);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * table.TotalSize);
}

} // namespace

BENCHMARK(PlainPreadLoop)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(PreadLoopBySample)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(MappedBySample)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(ReadAtPieces)->Arg(1)->Arg(100)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK_MAIN();
