// The float-to-16-bit converters against a model that works in double precision and rounds
// halves to even by hand, and against each other.
#include "FloatToPcm16.h"
#include "Simd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

int16_t Model(float value) {
    if (std::isnan(value))
        return 0;
    const double v = static_cast<double>(value) * 32768.0;
    if (v <= -32768.0)
        return -32768;
    if (v >= 32767.0)
        return 32767;
    const double low = std::floor(v);
    const double fraction = v - low;
    int64_t result = static_cast<int64_t>(low);
    if (fraction > 0.5 || (fraction == 0.5 && result % 2 != 0))
        ++result;
    return static_cast<int16_t>(result);
}

struct NamedConverter {
    std::string Name;
    FloatToPcm16Converter Convert;
};

std::vector<NamedConverter> AllConverters() {
    std::vector<NamedConverter> converters{{"plain", convertFromFloat}};
#if defined(__i386__) || defined(__x86_64__)
    converters.push_back({"SSE", convertFromFloat_SSE});
    converters.push_back({"SSE2", convertFromFloat_SSE2});
#endif
    converters.push_back({"dispatch", ConvertFromFloat});
    return converters;
}

void ExpectAllMatchModel(const std::vector<float>& source, const std::string& what) {
    std::vector<int16_t> expected(source.size());
    for (size_t i = 0; i < source.size(); ++i)
        expected[i] = Model(source[i]);
    for (const NamedConverter& c : AllConverters()) {
        std::vector<int16_t> out(source.size() + 1, 0x5555);
        const int32_t count = static_cast<int32_t>(source.size());
        ASSERT_EQ(c.Convert(source.data(), out.data(), 2, count), count) << c.Name;
        const auto wrong = std::mismatch(expected.begin(), expected.end(), out.begin());
        if (wrong.first != expected.end()) {
            const size_t i = wrong.first - expected.begin();
            FAIL() << c.Name << " " << what << " value " << source[i] << " (bits 0x" << std::hex
                   << std::bit_cast<uint32_t>(source[i]) << std::dec << ") gave " << out[i]
                   << ", expected " << expected[i];
        }
        ASSERT_EQ(out[source.size()], 0x5555) << c.Name << " wrote past the end";
    }
}

TEST(FloatToPcm16, SpecialValues) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::vector<float> source{1.0f,
                                    -1.0f,
                                    inf,
                                    -inf,
                                    nan,
                                    -nan,
                                    1e10f,
                                    -1e10f,
                                    0.0f,
                                    -0.0f,
                                    0.5f / 32768,
                                    1.5f / 32768,
                                    2.5f / 32768,
                                    -0.5f / 32768,
                                    -1.5f / 32768,
                                    -2.5f / 32768,
                                    32766.5f / 32768,
                                    -32767.5f / 32768,
                                    0.99998f,
                                    1e-30f};
    const std::vector<int16_t> expected{32767,  -32768, 32767, -32768, 0,     0, 32767,
                                        -32768, 0,      0,     0,      2,     2, 0,
                                        -2,     -2,     32766, -32768, 32767, 0};
    for (const NamedConverter& c : AllConverters()) {
        std::vector<int16_t> out(source.size());
        c.Convert(source.data(), out.data(), 2, static_cast<int32_t>(source.size()));
        EXPECT_EQ(out, expected) << c.Name;
    }
}

TEST(FloatToPcm16, EverySixteenBitSampleComesBackExactly) {
    std::vector<float> source;
    for (int s = -32768; s <= 32767; ++s)
        source.push_back(static_cast<float>(s) / 32768.0f);
    for (const NamedConverter& c : AllConverters()) {
        std::vector<int16_t> out(source.size());
        c.Convert(source.data(), out.data(), 2, static_cast<int32_t>(source.size()));
        for (int s = -32768; s <= 32767; ++s)
            ASSERT_EQ(out[s + 32768], s) << c.Name;
    }
}

TEST(FloatToPcm16, EveryHalfBetweenSamples) {
    std::vector<float> source;
    for (int s = -32769; s <= 32767; ++s)
        source.push_back((static_cast<float>(s) + 0.5f) / 32768.0f);
    ExpectAllMatchModel(source, "half");
}

TEST(FloatToPcm16, DenseSampleOfEveryBitPattern) {
    // Every 4099th bit pattern (all exponents and signs, NaNs and infinities included) in chunks
    // whose lengths vary, so the vector loops and their tails both see every kind of value.
    std::vector<float> chunk;
    uint64_t bits = 0;
    size_t length = 1;
    while (bits <= 0xFFFFFFFFull) {
        chunk.push_back(std::bit_cast<float>(static_cast<uint32_t>(bits)));
        bits += 4099;
        if (chunk.size() == length) {
            ExpectAllMatchModel(chunk, "pattern");
            chunk.clear();
            length = length % 4093 + 1;
        }
    }
    ExpectAllMatchModel(chunk, "pattern");
}

TEST(FloatToPcm16, UnalignedBuffersAndEveryTailLength) {
    std::vector<float> storage(80);
    for (size_t i = 0; i < storage.size(); ++i)
        storage[i] = (static_cast<float>(i) - 40.3f) / 37.0f;
    for (int32_t offset = 0; offset < 4; ++offset)
        for (int32_t count = 0; count <= 19; ++count)
            for (const NamedConverter& c : AllConverters()) {
                std::vector<int16_t> out(count + 8, 0x1234);
                const int32_t wrote = c.Convert(storage.data() + offset, out.data() + 1, 2, count);
                ASSERT_EQ(wrote, count) << c.Name;
                ASSERT_EQ(out[0], 0x1234) << c.Name;
                for (int32_t i = 0; i < count; ++i)
                    ASSERT_EQ(out[i + 1], Model(storage[offset + i])) << c.Name << " " << count;
                ASSERT_EQ(out[count + 1], 0x1234) << c.Name << " count " << count;
            }
}

TEST(FloatToPcm16, OtherWidthsConvertNothing) {
    const float source[4] = {0.5f, 0.5f, 0.5f, 0.5f};
    for (const NamedConverter& c : AllConverters())
        for (uint8_t width : {0, 1, 3, 4}) {
            int16_t out[4] = {7, 7, 7, 7};
            EXPECT_EQ(c.Convert(source, out, width, 4), 0) << c.Name;
            EXPECT_EQ(out[0], 7) << c.Name;
        }
}

} // namespace
