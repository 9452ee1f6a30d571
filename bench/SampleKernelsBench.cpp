// Throughput of the min/max kernels, the scan routines, the whole peak index builder and the
// float converters, beside memcpy of the same buffer. Sizes: one that stays in the caches and
// one that has to come from memory.
#include "FloatToPcm16.h"
#include "MinMaxKernels.h"
#include "Simd.h"
#include "TFilter.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <vector>

namespace {

constexpr int64_t CacheBytes = 256 << 10;
constexpr int64_t MemoryBytes = 64 << 20;

const std::vector<int16_t>& Samples() {
    static const std::vector<int16_t> samples = [] {
        std::vector<int16_t> v(MemoryBytes / 2);
        std::mt19937 random(1);
        std::uniform_int_distribution<int> sample(-32768, 32767);
        for (int16_t& s : v)
            s = static_cast<int16_t>(sample(random));
        return v;
    }();
    return samples;
}

int32_t SampleCount(const benchmark::State& state) {
    return static_cast<int32_t>(state.range(0) / 2);
}

void Memcpy(benchmark::State& state) {
    const auto& source = Samples();
    std::vector<int16_t> target(SampleCount(state));
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), state.range(0));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

template <MinMaxKernel Scan> void Kernel(benchmark::State& state) {
    const auto& data = Samples();
    for (auto _ : state) {
        int16_t min = 0;
        int16_t max = 0;
        Scan(data.data(), SampleCount(state), min, max);
        benchmark::DoNotOptimize(min);
        benchmark::DoNotOptimize(max);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void Mono(benchmark::State& state) {
    const auto& data = Samples();
    for (auto _ : state) {
        int16_t min = 0;
        int16_t max = 0;
        MinMaxMono(data.data(), SampleCount(state), min, max);
        benchmark::DoNotOptimize(min);
        benchmark::DoNotOptimize(max);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void Stereo(benchmark::State& state) {
    const auto& data = Samples();
    for (auto _ : state) {
        int16_t min[2];
        int16_t max[2];
        MinMaxStereo(data.data(), SampleCount(state), min[0], max[0], min[1], max[1]);
        benchmark::DoNotOptimize(min);
        benchmark::DoNotOptimize(max);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

/// The builder fed the way the decoder feeds it: chunks of 16,384 samples.
void Filter(benchmark::State& state) {
    const auto& data = Samples();
    const int32_t channels = static_cast<int32_t>(state.range(1));
    const int64_t count = SampleCount(state) / channels * channels;
    for (auto _ : state) {
        TFilter filter(channels);
        for (int64_t done = 0; done < count; done += 16384)
            filter.Feed(data.data() + done, std::min<int64_t>(16384, count - done));
        Tindexdata index;
        filter.GetIndexData(index);
        benchmark::DoNotOptimize(index.data());
    }
    state.SetBytesProcessed(state.iterations() * count * 2);
}

template <FloatToPcm16Converter Convert> void Converter(benchmark::State& state) {
    const int32_t count = static_cast<int32_t>(state.range(0) / 4);
    std::vector<float> source(count);
    std::mt19937 random(2);
    std::uniform_real_distribution<float> value(-1.2f, 1.2f);
    for (float& f : source)
        f = value(random);
    std::vector<int16_t> target(count);
    for (auto _ : state) {
        Convert(source.data(), target.data(), 2, count);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * state.range(0)); // float bytes read
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(CacheBytes)->Arg(MemoryBytes);
}

void FilterSizes(benchmark::internal::Benchmark* b) {
    for (int64_t bytes : {CacheBytes, MemoryBytes})
        for (int64_t channels : {1, 2, 6})
            b->Args({bytes, channels});
}

} // namespace

BENCHMARK(Memcpy)->Apply(Sizes);
BENCHMARK(Kernel<MinMax16Plain>)->Name("MinMax16Plain")->Apply(Sizes);
#if defined(__i386__) || defined(__x86_64__)
BENCHMARK(Kernel<MinMax16MMX>)->Name("MinMax16MMX")->Apply(Sizes);
BENCHMARK(Kernel<MinMax16SSE2>)->Name("MinMax16SSE2")->Apply(Sizes);
#endif
BENCHMARK(Mono)->Name("MinMaxMono")->Apply(Sizes);
BENCHMARK(Stereo)->Name("MinMaxStereo")->Apply(Sizes);
BENCHMARK(Filter)->Name("TFilter")->Apply(FilterSizes);
BENCHMARK(Converter<convertFromFloat>)->Name("convertFromFloat")->Apply(Sizes);
#if defined(__i386__) || defined(__x86_64__)
BENCHMARK(Converter<convertFromFloat_SSE>)->Name("convertFromFloat_SSE")->Apply(Sizes);
BENCHMARK(Converter<convertFromFloat_SSE2>)->Name("convertFromFloat_SSE2")->Apply(Sizes);
#endif

BENCHMARK_MAIN();
