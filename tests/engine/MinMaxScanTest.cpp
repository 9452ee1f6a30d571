// The scan routines and the raw kernels against a plain model with the same start values
// (minimum from 32767, maximum from 0).
#include "MinMaxKernels.h"
#include "Signals.h"
#include "Simd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Range {
    int16_t Min = 32767;
    int16_t Max = 0;
    bool operator==(const Range&) const = default;
};

Range ModelScan(const int16_t* data, int32_t count, int32_t stride = 1) {
    Range r;
    for (int32_t i = 0; i < count; i += stride) {
        r.Min = std::min(r.Min, data[i]);
        r.Max = std::max(r.Max, data[i]);
    }
    return r;
}

struct NamedKernel {
    std::string Name;
    MinMaxKernel Kernel;
    int32_t Width;
};

std::vector<NamedKernel> AllKernels() {
    std::vector<NamedKernel> kernels{{"Plain", MinMax16Plain, 16}};
#if defined(__i386__) || defined(__x86_64__)
    kernels.push_back({"MMX", MinMax16MMX, 16});
    kernels.push_back({"SSE2", MinMax16SSE2, 32});
#endif
    return kernels;
}

/// Runs a test body once with each kernel behind MinMax16Proc, restoring the chosen one after.
class WithEachKernel {
public:
    WithEachKernel()
        : Saved(MinMax16Proc) {}
    ~WithEachKernel() { MinMax16Proc = Saved; }
    template <class Body> void Run(Body body) {
        for (const NamedKernel& k : AllKernels()) {
            SCOPED_TRACE(k.Name);
            MinMax16Proc = k.Kernel;
            body();
        }
    }

private:
    MinMaxKernel Saved;
};

/// Samples at an address that is 2-byte aligned but `offset` samples away from a 64-byte
/// boundary, so vector loads see every misalignment.
class OffsetBuffer {
public:
    OffsetBuffer(int32_t count, int32_t offset)
        : Storage(count + 64) {
        const auto base = reinterpret_cast<uintptr_t>(Storage.data());
        const int32_t skip = static_cast<int32_t>((64 - base % 64) % 64 / 2);
        Data = Storage.data() + skip + offset;
    }
    int16_t* Data;

private:
    std::vector<int16_t> Storage;
};

TEST(MinMaxMono, ExtremeAtEveryPosition) {
    WithEachKernel kernels;
    kernels.Run([] {
        for (int32_t count = 0; count <= 130; ++count)
            for (int32_t pos = 0; pos < count; ++pos)
                for (int16_t extreme : {int16_t(-32768), int16_t(-5), int16_t(7), int16_t(32767)}) {
                    std::vector<int16_t> data(count);
                    for (int32_t i = 0; i < count; ++i)
                        data[i] = static_cast<int16_t>((i * 37) % 41 - 20);
                    data[pos] = extreme;
                    Range got;
                    MinMaxMono(data.data(), count, got.Min, got.Max);
                    ASSERT_EQ(got, ModelScan(data.data(), count))
                        << "count " << count << " position " << pos << " extreme " << extreme;
                }
    });
}

TEST(MinMaxMono, EmptyAndAllNegativeKeepStartValues) {
    Range got{1, 1};
    MinMaxMono(nullptr, 0, got.Min, got.Max);
    EXPECT_EQ(got, (Range{32767, 0}));
    std::vector<int16_t> negative(100, -100);
    MinMaxMono(negative.data(), 100, got.Min, got.Max);
    EXPECT_EQ(got, (Range{-100, 0}));
    std::vector<int16_t> positive(100, 100);
    MinMaxMono(positive.data(), 100, got.Min, got.Max);
    EXPECT_EQ(got, (Range{100, 100}));
}

TEST(MinMaxMono, LastOfThirtyThreeIsFound) {
    std::vector<int16_t> data(33, 3);
    data[32] = -12345;
    WithEachKernel kernels;
    kernels.Run([&] {
        Range got;
        MinMaxMono(data.data(), 33, got.Min, got.Max);
        EXPECT_EQ(got, (Range{-12345, 3}));
    });
}

TEST(MinMaxMono, RandomUnalignedData) {
    WithEachKernel kernels;
    kernels.Run([] {
        for (int32_t offset = 0; offset < 32; ++offset)
            for (int32_t count : {31, 32, 33, 47, 64, 100, 512, 1000, 4096}) {
                OffsetBuffer buffer(count, offset);
                const auto random = UniformNoise(count, count * 100 + offset);
                std::copy(random.begin(), random.end(), buffer.Data);
                Range got;
                MinMaxMono(buffer.Data, count, got.Min, got.Max);
                ASSERT_EQ(got, ModelScan(buffer.Data, count))
                    << "count " << count << " offset " << offset;
            }
    });
}

TEST(MinMaxStereo, ExtremeAtEveryPosition) {
    for (int32_t count = 0; count <= 130; count += 2)
        for (int32_t pos = 0; pos < count; ++pos)
            for (int16_t extreme : {int16_t(-32768), int16_t(-5), int16_t(7), int16_t(32767)}) {
                std::vector<int16_t> data(count);
                for (int32_t i = 0; i < count; ++i)
                    data[i] = static_cast<int16_t>((i * 29) % 37 - 18);
                data[pos] = extreme;
                Range left;
                Range right;
                MinMaxStereo(data.data(), count, left.Min, left.Max, right.Min, right.Max);
                ASSERT_EQ(left, ModelScan(data.data(), count, 2))
                    << "count " << count << " position " << pos << " extreme " << extreme;
                ASSERT_EQ(right, ModelScan(data.data() + 1, count - 1, 2))
                    << "count " << count << " position " << pos << " extreme " << extreme;
            }
}

TEST(MinMaxStereo, RandomUnalignedData) {
    for (int32_t offset = 0; offset < 32; ++offset)
        for (int32_t count : {30, 32, 34, 64, 66, 98, 1024, 2000}) {
            OffsetBuffer buffer(count, offset);
            const auto random = UniformNoise(count, count * 7 + offset);
            std::copy(random.begin(), random.end(), buffer.Data);
            Range left;
            Range right;
            MinMaxStereo(buffer.Data, count, left.Min, left.Max, right.Min, right.Max);
            ASSERT_EQ(left, ModelScan(buffer.Data, count, 2)) << count << " at " << offset;
            ASSERT_EQ(right, ModelScan(buffer.Data + 1, count - 1, 2)) << count << " at " << offset;
        }
}

TEST(MinMaxStereo, ChannelsStayApartForEveryLength) {
    for (int32_t frames = 1; frames <= 512; ++frames) {
        std::vector<int16_t> data(2 * frames);
        for (int32_t f = 0; f < frames; ++f) {
            data[2 * f] = 1000;
            data[2 * f + 1] = -2000;
        }
        Range left;
        Range right;
        MinMaxStereo(data.data(), 2 * frames, left.Min, left.Max, right.Min, right.Max);
        ASSERT_EQ(left, (Range{1000, 1000})) << frames;
        ASSERT_EQ(right, (Range{-2000, 0})) << frames;
    }
}

TEST(MinMaxKernels, EveryVariantMatchesTheModelBitForBit) {
    for (int32_t count = 32; count <= 32 * 40; count += 32)
        for (int32_t offset : {0, 1, 3, 7}) {
            OffsetBuffer buffer(count, offset);
            const auto random = UniformNoise(count, count + offset);
            std::copy(random.begin(), random.end(), buffer.Data);
            const Range expected = ModelScan(buffer.Data, count);
            for (const NamedKernel& k : AllKernels()) {
                Range got{1, 1};
                k.Kernel(buffer.Data, count, got.Min, got.Max);
                ASSERT_EQ(got, expected) << k.Name << " count " << count << " offset " << offset;
            }
        }
}

TEST(MinMaxKernels, ExtremeInEveryLane) {
    for (const NamedKernel& k : AllKernels())
        for (int32_t pos = 0; pos < 64; ++pos) {
            std::vector<int16_t> data(64, 1);
            data[pos] = -32768;
            data[63 - pos] = 32767;
            Range got;
            k.Kernel(data.data(), 64, got.Min, got.Max);
            ASSERT_EQ(got, (Range{-32768, 32767})) << k.Name << " position " << pos;
        }
}

TEST(MinMaxKernels, ScanOnlyWholeSteps) {
    // 47 samples: every kernel scans 32; 48 samples: the 16-wide kernels scan all of them, the
    // 32-wide one still 32. An extreme beyond the last whole step must not be seen.
    for (const NamedKernel& k : AllKernels()) {
        std::vector<int16_t> data(47, 5);
        data[46] = -999;
        Range got;
        k.Kernel(data.data(), 47, got.Min, got.Max);
        EXPECT_EQ(got, (Range{5, 5})) << k.Name;
        data.push_back(5);
        k.Kernel(data.data(), 48, got.Min, got.Max);
        EXPECT_EQ(got.Min, k.Width == 16 ? -999 : 5) << k.Name;
    }
}

} // namespace
