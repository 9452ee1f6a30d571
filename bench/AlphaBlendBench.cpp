// Speed of the blend variants against a plain copy of the same bytes, on the level meter's own
// size and on a full-screen image, and of the 4 × 4 reduction variants.
#include "AlphaBlend.h"
#include "CpuFeatures.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

struct Images {
    Images(int width, int height)
        : Width(width)
        , Height(height)
        , Bytes(static_cast<size_t>(Bitmap24Stride(width)) * height)
        , A(Bytes, 200)
        , B(Bytes, 30)
        , Target(Bytes) {}
    int Width, Height;
    size_t Bytes;
    std::vector<uint8_t> A, B, Target;
};

void BlendWith(benchmark::State& state, TBlend24Proc proc) {
    Images images(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        proc(images.A.data(), images.B.data(), images.Target.data(), 6, images.Height,
             images.Width);
        benchmark::DoNotOptimize(images.Target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * images.Bytes));
}

void BM_Copy(benchmark::State& state) {
    Images images(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        std::memcpy(images.Target.data(), images.A.data(), images.Bytes);
        benchmark::DoNotOptimize(images.Target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * images.Bytes));
}

void BM_Blend24Scalar(benchmark::State& state) {
    BlendWith(state, Blend24Scalar);
}

#if defined(SONDRIX_BLEND_X86)
void BM_Blend24MMX(benchmark::State& state) {
    BlendWith(state, Blend24MMX);
}
void BM_Blend24SSE2(benchmark::State& state) {
    BlendWith(state, Blend24SSE2);
}
#endif

void ReduceWith(benchmark::State& state, TReduce4x4Proc proc) {
    const int pixels = static_cast<int>(state.range(0));
    const std::vector<uint8_t> row(static_cast<size_t>(12 * pixels), 77);
    std::vector<uint8_t> target(static_cast<size_t>(3 * pixels));
    for (auto _ : state) {
        proc(3 * (pixels - 1), target.data(), row.data(), row.data(), row.data(), row.data());
        benchmark::DoNotOptimize(target.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * 4 * row.size()));
}

void BM_Reduce4x4Scalar(benchmark::State& state) {
    ReduceWith(state, Reduce4x4Scalar);
}

#if defined(SONDRIX_BLEND_X86)
void BM_Reduce4x4MMX(benchmark::State& state) {
    ReduceWith(state, Reduce4x4MMX);
}
void BM_Reduce4x4SSE2(benchmark::State& state) {
    ReduceWith(state, Reduce4x4SSE2);
}
#endif

} // namespace

#define SIZES Args({127, 38})->Args({1920, 1080})
BENCHMARK(BM_Copy)->SIZES;
BENCHMARK(BM_Blend24Scalar)->SIZES;
#if defined(SONDRIX_BLEND_X86)
BENCHMARK(BM_Blend24MMX)->SIZES;
BENCHMARK(BM_Blend24SSE2)->SIZES;
#endif
BENCHMARK(BM_Reduce4x4Scalar)->Arg(480);
#if defined(SONDRIX_BLEND_X86)
BENCHMARK(BM_Reduce4x4MMX)->Arg(480);
BENCHMARK(BM_Reduce4x4SSE2)->Arg(480);
#endif

BENCHMARK_MAIN();
