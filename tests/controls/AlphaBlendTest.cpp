// The blend and reduction kernels against the plain formulas, the unit's processor probe against
// the kernel's own feature list, and BlendBitmaps on images.
#include "AlphaBlend.h"

#include "CpuFeatures.h"
#include "Exceptions.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct BlendVariant {
    const char* Name;
    TBlend24Proc Proc;
    bool Available;
};

struct ReduceVariant {
    const char* Name;
    TReduce4x4Proc Proc;
    bool Available;
};

std::vector<BlendVariant> BlendVariants() {
    return {
        {"scalar", Blend24Scalar, true},
#if defined(SONDRIX_BLEND_X86)
            {"mmx", Blend24MMX, CpuHasMMX}, {"sse2", Blend24SSE2, CpuHasSSE2},
#endif
    };
}

std::vector<ReduceVariant> ReduceVariants() {
    return {
        {"scalar", Reduce4x4Scalar, true},
#if defined(SONDRIX_BLEND_X86)
            {"mmx", Reduce4x4MMX, CpuHasMMX}, {"sse2", Reduce4x4SSE2, CpuHasSSE2},
#endif
    };
}

std::vector<uint8_t> RandomBytes(std::mt19937& random, size_t count) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(byte(random));
    return bytes;
}

std::vector<uint8_t> ExpectedBlend(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b,
                                   int weight) {
    std::vector<uint8_t> mixed(a.size());
    for (size_t i = 0; i < a.size(); ++i)
        mixed[i] = static_cast<uint8_t>((a[i] * (32 - weight) + b[i] * weight) / 32);
    return mixed;
}

// Blocks of exactly stride × height bytes, so that AddressSanitizer sees any access past them.
std::vector<uint8_t> Blend(TBlend24Proc proc, const std::vector<uint8_t>& a,
                           const std::vector<uint8_t>& b, int weight, int height, int width) {
    std::vector<uint8_t> target(a.size(), 0xA5);
    proc(a.data(), b.data(), target.data(), weight, height, width);
    return target;
}

TEST(AlphaBlendTest, StrideIsPaddedToFourBytes) {
    const std::pair<int, int> cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {221, 664}};
    for (auto [width, stride] : cases)
        EXPECT_EQ(Bitmap24Stride(width), stride) << "width " << width;
}

TEST(AlphaBlendTest, EveryVariantFollowsTheFormulaForEveryWeightAndWidth) {
    std::mt19937 random(11);
    for (const BlendVariant& variant : BlendVariants()) {
        if (!variant.Available)
            continue;
        for (int width = 1; width <= 40; ++width) {
            for (int height = 1; height <= 3; ++height) {
                const size_t bytes = static_cast<size_t>(Bitmap24Stride(width)) * height;
                const std::vector<uint8_t> a = RandomBytes(random, bytes);
                const std::vector<uint8_t> b = RandomBytes(random, bytes);
                for (int weight = 0; weight <= 32; ++weight)
                    ASSERT_EQ(Blend(variant.Proc, a, b, weight, height, width),
                              ExpectedBlend(a, b, weight))
                        << variant.Name << " width " << width << " height " << height << " weight "
                        << weight;
            }
        }
    }
}

TEST(AlphaBlendTest, ExtremeBytesGiveTheDocumentedValues) {
    struct Case {
        uint8_t A, B;
        int Weight;
        uint8_t Expected;
    };
    const Case cases[] = {
        {255, 0, 6, 207},    // 255 × 26 / 32
        {0, 255, 6, 47},     // 255 × 6 / 32
        {255, 0, 32, 0},     // weight 32 copies b
        {17, 200, 32, 200},  //
        {255, 254, 16, 254}, // truncated mean
        {3, 0, 16, 1},       //
        {255, 255, 6, 255},  // no lane overflows at full scale
    };
    for (const BlendVariant& variant : BlendVariants()) {
        if (!variant.Available)
            continue;
        for (const Case& c : cases) {
            const int width = 7, height = 2; // 21 pixel bytes and 3 padding bytes per row
            const size_t bytes = static_cast<size_t>(Bitmap24Stride(width)) * height;
            const std::vector<uint8_t> a(bytes, c.A), b(bytes, c.B);
            const std::vector<uint8_t> expected(bytes, c.Expected);
            EXPECT_EQ(Blend(variant.Proc, a, b, c.Weight, height, width), expected)
                << variant.Name << " a " << int(c.A) << " b " << int(c.B) << " weight " << c.Weight;
        }
    }
}

TEST(AlphaBlendTest, EmptyBlockWritesNothing) {
    for (const BlendVariant& variant : BlendVariants()) {
        if (!variant.Available)
            continue;
        uint8_t target = 0x5A;
        const uint8_t source = 0;
        variant.Proc(&source, &source, &target, 6, 0, 5);
        variant.Proc(&source, &source, &target, 6, 5, 0);
        EXPECT_EQ(target, 0x5A) << variant.Name;
    }
}

std::vector<uint8_t> ExpectedReduction(const std::vector<std::vector<uint8_t>>& rows, int pixels) {
    std::vector<uint8_t> reduced(3 * pixels);
    for (int i = 0; i < pixels; ++i)
        for (int channel = 0; channel < 3; ++channel) {
            int sum = 0;
            for (const auto& row : rows)
                for (int k = 0; k < 4; ++k)
                    sum += row[3 * (4 * i + k) + channel];
            reduced[3 * i + channel] = static_cast<uint8_t>(sum / 16);
        }
    return reduced;
}

// Rows of exactly 4 × pixels source pixels and a target of exactly `pixels` pixels.
std::vector<uint8_t> Reduce(TReduce4x4Proc proc, const std::vector<std::vector<uint8_t>>& rows,
                            int pixels) {
    std::vector<uint8_t> target(3 * pixels, 0xA5);
    proc(3 * (pixels - 1), target.data(), rows[0].data(), rows[1].data(), rows[2].data(),
         rows[3].data());
    return target;
}

TEST(AlphaBlendTest, EveryReductionFollowsTheFormula) {
    std::mt19937 random(12);
    for (const ReduceVariant& variant : ReduceVariants()) {
        if (!variant.Available)
            continue;
        for (int pixels = 1; pixels <= 24; ++pixels) {
            std::vector<std::vector<uint8_t>> rows;
            for (int r = 0; r < 4; ++r)
                rows.push_back(RandomBytes(random, 12 * pixels));
            ASSERT_EQ(Reduce(variant.Proc, rows, pixels), ExpectedReduction(rows, pixels))
                << variant.Name << " pixels " << pixels;
        }
    }
}

TEST(AlphaBlendTest, ReductionOfEqualPixelsKeepsThem) {
    const uint8_t pixel[3] = {10, 20, 30};
    const int pixels = 5;
    std::vector<uint8_t> row(12 * pixels);
    for (size_t i = 0; i < row.size(); ++i)
        row[i] = pixel[i % 3];
    const std::vector<std::vector<uint8_t>> rows(4, row);
    std::vector<uint8_t> expected;
    for (int i = 0; i < pixels; ++i)
        expected.insert(expected.end(), pixel, pixel + 3);
    for (const ReduceVariant& variant : ReduceVariants()) {
        if (variant.Available) {
            EXPECT_EQ(Reduce(variant.Proc, rows, pixels), expected) << variant.Name;
        }
    }
}

TEST(AlphaBlendTest, ReductionTruncatesTheSum) {
    // Channel 0 sums to 31 (15 + 16), channel 1 to 16 × 255, channel 2 to 15.
    std::vector<std::vector<uint8_t>> rows(4, std::vector<uint8_t>(12, 0));
    for (auto& row : rows)
        for (int k = 0; k < 4; ++k)
            row[3 * k + 1] = 255;
    rows[0][0] = 15;
    rows[3][9] = 16;
    rows[2][5] = 15;
    const std::vector<uint8_t> expected = {1, 255, 0};
    for (const ReduceVariant& variant : ReduceVariants()) {
        if (variant.Available) {
            EXPECT_EQ(Reduce(variant.Proc, rows, 1), expected) << variant.Name;
        }
    }
}

std::set<std::string> KernelCpuFlags() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("flags", 0) != 0)
            continue;
        std::istringstream words(line.substr(line.find(':') + 1));
        std::set<std::string> flags;
        for (std::string word; words >> word;)
            flags.insert(word);
        return flags;
    }
    return {};
}

TEST(AlphaBlendTest, ProbeAgreesWithTheKernelsFeatureList) {
#if defined(SONDRIX_BLEND_X86)
    const std::set<std::string> flags = KernelCpuFlags();
    if (flags.empty())
        GTEST_SKIP() << "no processor flags in /proc/cpuinfo";
    EXPECT_EQ(CpuHasMMX, flags.count("mmx") == 1);
    EXPECT_EQ(CpuHasSSE, flags.count("sse") == 1);
    EXPECT_EQ(CpuHasSSE2, flags.count("sse2") == 1);
    EXPECT_EQ(CpuHas3DNow, flags.count("3dnow") == 1);
    EXPECT_EQ(CpuHas3DNowExt, flags.count("3dnowext") == 1);
    // Basic leaf bit 22 is listed as "acpi", the extended leaf's bit 22 as "mmxext".
    EXPECT_EQ(CpuHasMMXExt, flags.count("acpi") == 1 || flags.count("mmxext") == 1);
#else
    EXPECT_FALSE(CpuHasMMX || CpuHasSSE2);
#endif
}

TEST(AlphaBlendTest, WidestAvailableVariantIsChosen) {
#if defined(SONDRIX_BLEND_X86)
    const TBlend24Proc blend = CpuHasSSE2 ? Blend24SSE2 : (CpuHasMMX ? Blend24MMX : Blend24Scalar);
    const TReduce4x4Proc reduce =
        CpuHasSSE2 ? Reduce4x4SSE2 : (CpuHasMMX ? Reduce4x4MMX : Reduce4x4Scalar);
#else
    const TBlend24Proc blend = Blend24Scalar;
    const TReduce4x4Proc reduce = Reduce4x4Scalar;
#endif
    EXPECT_EQ(Blend24Proc, blend);
    EXPECT_EQ(Reduce4x4Proc, reduce);
}

QImage RandomImage(std::mt19937& random, int width, int height) {
    QImage image(width, height, QImage::Format_BGR888);
    const std::vector<uint8_t> bytes =
        RandomBytes(random, static_cast<size_t>(image.sizeInBytes()));
    std::memcpy(image.bits(), bytes.data(), bytes.size());
    return image;
}

std::vector<uint8_t> Bytes(const QImage& image) {
    return {image.constBits(), image.constBits() + image.sizeInBytes()};
}

TEST(AlphaBlendTest, BlendBitmapsMixesWholeImagesPaddingIncluded) {
    std::mt19937 random(13);
    for (int width : {1, 2, 5, 127}) {
        const QImage a = RandomImage(random, width, 4);
        const QImage b = RandomImage(random, width, 4);
        QImage target(width, 4, QImage::Format_BGR888);
        ASSERT_EQ(a.bytesPerLine(), Bitmap24Stride(width));
        BlendBitmaps(a, b, target, 6);
        EXPECT_EQ(Bytes(target), ExpectedBlend(Bytes(a), Bytes(b), 6)) << "width " << width;
    }
}

TEST(AlphaBlendTest, BlendBitmapsClampsTheWeight) {
    std::mt19937 random(14);
    const QImage a = RandomImage(random, 9, 3);
    const QImage b = RandomImage(random, 9, 3);
    QImage target(9, 3, QImage::Format_BGR888);
    BlendBitmaps(a, b, target, 40);
    EXPECT_EQ(Bytes(target), Bytes(b));
    BlendBitmaps(a, b, target, -3);
    EXPECT_EQ(Bytes(target), Bytes(a));
}

TEST(AlphaBlendTest, BlendBitmapsDoesNotWriteThroughASharedImage) {
    std::mt19937 random(15);
    const QImage a = RandomImage(random, 6, 2);
    const QImage b = RandomImage(random, 6, 2);
    const std::vector<uint8_t> before = Bytes(a);
    QImage target = a; // shares a's pixels until written
    BlendBitmaps(a, b, target, 16);
    EXPECT_EQ(Bytes(a), before);
    EXPECT_EQ(Bytes(target), ExpectedBlend(before, Bytes(b), 16));
}

TEST(AlphaBlendTest, BlendBitmapsRefusesMismatchedImages) {
    std::mt19937 random(16);
    const QImage a = RandomImage(random, 8, 3);
    const QImage other[] = {RandomImage(random, 7, 3), RandomImage(random, 8, 4),
                            a.convertToFormat(QImage::Format_RGB888), QImage()};
    for (const QImage& b : other) {
        QImage target = RandomImage(random, 8, 3);
        const std::vector<uint8_t> before = Bytes(target);
        EXPECT_THROW(BlendBitmaps(a, b, target, 6), Exception);
        EXPECT_EQ(Bytes(target), before);
    }
    QImage empty;
    EXPECT_NO_THROW(BlendBitmaps(QImage(), QImage(), empty, 6));
}

} // namespace
