#include "TFadeCurve.h"

#include "SampleEditFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numbers>
#include <random>

TEST(TFadeCurve, StepIsAQuarterTurnDividedByTheFrames) {
    EXPECT_DOUBLE_EQ(TFadeCurve::Step(1), std::numbers::pi / 2);
    EXPECT_DOUBLE_EQ(TFadeCurve::Step(90), std::numbers::pi / 180);
    EXPECT_DOUBLE_EQ(TFadeCurve::Step(4), std::numbers::pi / 8);
}

TEST(TFadeCurve, PolynomialStaysWithinTheBoundOfTheLibraryFunctions) {
    double worst = 0.0;
    for (int i = 0; i <= 1000000; ++i) {
        const double angle = (std::numbers::pi / 2 + 1e-6) * i / 1000000;
        worst = std::max(worst, std::fabs(TFadeCurve::Approximate(true, angle) - std::sin(angle)));
        worst = std::max(worst, std::fabs(TFadeCurve::Approximate(false, angle) - std::cos(angle)));
    }
    EXPECT_LT(worst, 1e-14);
}

TEST(TFadeCurve, ScaleRoundsTheExactProduct) {
    struct Case {
        int16_t Sample;
        double Factor;
        int16_t Expected;
    };
    const Case cases[] = {
        {1, 0.5, 0},
        {3, 0.5, 2},
        {5, 0.5, 2},
        {-3, 0.5, -2},
        {-5, 0.5, -2},
        {32767, 1.0, 32767},
        {-32768, 1.0, -32768},
        {10000, 0.0, 0},
        {7, 0.25, 2}, // 1.75
        {-32768, 6.123233995736766e-17, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TFadeCurve::Scale(c.Sample, c.Factor), c.Expected)
            << c.Sample << " × " << c.Factor;
}

TEST(TFadeCurve, ScaleAgreesWithIntegerArithmeticWhereTheDoubleProductLandsOnATie) {
    // A factor a / (2s) rounded to double, times s, lands on the half-integer a / 2 in double
    // precision while the exact product lies just beside it: only the exact error decides.
    int ties = 0;
    for (int s = 3; s < 3000; s += 2)
        for (int a = 1; a < 2 * s; a += 2 * (s / 7) + 1) {
            const double factor = double(a) / double(2 * s);
            const double product = s * factor;
            if (std::fabs(product - std::trunc(product)) != 0.5 ||
                std::fma(s, factor, -product) == 0)
                continue;
            ++ties;
            EXPECT_EQ(TFadeCurve::Scale(int16_t(s), factor), ExactRound(int16_t(s), factor))
                << s << " × " << factor;
            EXPECT_EQ(TFadeCurve::Scale(int16_t(-s), factor), ExactRound(int16_t(-s), factor))
                << -s << " × " << factor;
        }
    EXPECT_GT(ties, 100);
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> factors(0.0, 1.0);
    for (int trial = 0; trial < 20; ++trial) {
        const double factor = factors(random);
        for (int sample = -32768; sample <= 32767; sample += 7)
            ASSERT_EQ(TFadeCurve::Scale(int16_t(sample), factor),
                      ExactRound(int16_t(sample), factor));
    }
}

namespace {

/// Every variant of the fade kernels this build has, by name.
std::vector<std::pair<const char*, const FadeKernels*>> KernelVariants() {
    std::vector<std::pair<const char*, const FadeKernels*>> variants{{"plain", &PlainFadeKernels}};
#if defined(__SSE2__)
    variants.emplace_back("SSE2", &Sse2FadeKernels);
#endif
#if defined(__x86_64__)
    if (HasAvx())
        variants.emplace_back("AVX", &AvxFadeKernels);
#endif
    return variants;
}

} // namespace

TEST(FadeKernels, VectorVariantsGiveThePlainFactorsAndProductsBitForBit) {
    // Every position of a fade of 65536 frames, and every 16-bit value at every 509th of them.
    constexpr int32_t Frames = 65536;
    const double theta = TFadeCurve::Step(Frames);
    std::vector<double> angles(Frames);
    for (int32_t k = 0; k < Frames; ++k)
        angles[size_t(k)] = (k + 1) * theta;
    std::vector<int16_t> samples(65536);
    for (int32_t v = 0; v < 65536; ++v)
        samples[size_t(v)] = int16_t(v - 32768);
    for (const bool fadeIn : {true, false}) {
        std::vector<double> plain(Frames);
        PlainFadeKernels.Factors(fadeIn, angles.data(), plain.data(), Frames);
        for (const auto& [name, kernels] : KernelVariants()) {
            SCOPED_TRACE(name);
            std::vector<double> factors(Frames);
            kernels->Factors(fadeIn, angles.data(), factors.data(), Frames);
            ASSERT_EQ(std::memcmp(factors.data(), plain.data(), sizeof(double) * Frames), 0);
            std::vector<int16_t> expected(samples.size()), actual(samples.size());
            for (int32_t k = 0; k < Frames; k += 509) {
                const std::vector<double> spread(samples.size(), plain[size_t(k)]);
                const double worst = PlainFadeKernels.Products(samples.data(), spread.data(),
                                                               expected.data(), 65536);
                // 65535 samples: whole vector steps and a tail.
                EXPECT_EQ(kernels->Products(samples.data(), spread.data(), actual.data(), 65535),
                          PlainFadeKernels.Products(samples.data(), spread.data(), expected.data(),
                                                    65535));
                EXPECT_EQ(kernels->Products(samples.data(), spread.data(), actual.data(), 65536),
                          worst);
                ASSERT_EQ(actual, expected) << "position " << k;
            }
        }
    }
}

TEST(FadeKernels, EveryVariantScalesAndChecksLikeThePlainArithmetic) {
    std::mt19937_64 random(3);
    std::uniform_real_distribution<double> angles(0.0, std::numbers::pi / 2);
    std::vector<double> angle(1001), factor(1001);
    for (double& a : angle)
        a = angles(random);
    const std::vector<int16_t> samples = TestSignal(1000, 1, 5);
    for (const auto& [name, kernels] : KernelVariants()) {
        SCOPED_TRACE(name);
        for (const bool fadeIn : {true, false}) {
            kernels->Factors(fadeIn, angle.data(), factor.data(), 999);
            for (size_t k = 0; k < 1000; ++k) // 999 rounded up to even
                ASSERT_NEAR(factor[k], fadeIn ? std::sin(angle[k]) : std::cos(angle[k]), 1e-14);
        }
        std::vector<int16_t> out(samples.size());
        // 997 samples: whole vector steps and a tail.
        double worst = 0.0;
        for (size_t i = 0; i < 997; ++i) {
            const double product = samples[i] * factor[i];
            worst = std::max(worst, std::fabs(product - std::nearbyint(product)));
        }
        EXPECT_EQ(kernels->Products(samples.data(), factor.data(), out.data(), 997), worst);
        for (size_t i = 0; i < 997; ++i)
            ASSERT_EQ(out[i], ExactRound(samples[i], factor[i])) << i;
        // Stereo with one factor per frame: 498 frames, whole vector steps and a tail.
        std::vector<double> spread(996);
        for (size_t i = 0; i < spread.size(); ++i)
            spread[i] = factor[i / 2];
        std::vector<int16_t> stereo(996), expected(996);
        EXPECT_EQ(kernels->StereoProducts(samples.data(), factor.data(), stereo.data(), 498),
                  PlainFadeKernels.Products(samples.data(), spread.data(), expected.data(), 996));
        ASSERT_EQ(stereo, expected);
        // Angles: sums of 0.1 from 0 keep to the closed form for five steps (the sixth is
        // 0.6 + 1 ulp in closed form); from 1 they keep to it for all eleven. Where they hold,
        // the angles are the sums.
        std::vector<double> angles(11);
        for (const auto& [start, frames] : {std::pair(0.0, 1), {0.0, 5}, {1.0, 11}}) {
            const double increment = (start + 0.1) - start;
            ASSERT_TRUE(kernels->Angles(start, increment, 0.1, angles.data(), frames)) << frames;
            double sum = start;
            for (int32_t k = 0; k < frames; ++k)
                EXPECT_EQ(angles[size_t(k)], sum += 0.1) << k;
        }
        EXPECT_FALSE(kernels->Angles(0.0, 0.1, 0.1, angles.data(), 6));
        EXPECT_FALSE(kernels->Angles(0.0, 0.1, 0.1, angles.data(), 11));
        EXPECT_FALSE(kernels->Angles(0.0, 0.1, std::nextafter(0.1, 1.0), angles.data(), 1));
    }
}

TEST(TFadeCurve, ApplyGivesTheModelForManyLengthsWithEveryKernelVariant) {
    for (const auto& [name, kernels] : KernelVariants())
        for (const int64_t n : {1, 2, 3, 4, 5, 511, 1023, 1024, 1025, 3000, 100000})
            for (const bool fadeIn : {true, false}) {
                SCOPED_TRACE(name);
                const int32_t channels = n % 3 + 1;
                const std::vector<int16_t> source = TestSignal(n, channels, uint32_t(n));
                std::vector<int16_t> actual(source.size());
                TFadeCurve curve(fadeIn, n, *kernels);
                // Uneven pieces, as the block hand-off feeds it.
                for (int64_t done = 0; done < n;) {
                    const int64_t piece = std::min<int64_t>(n - done, 777);
                    curve.Apply(source.data() + done * channels, actual.data() + done * channels,
                                piece, channels);
                    done += piece;
                }
                EXPECT_EQ(actual, ModelFade(source, channels, 0, n, fadeIn))
                    << "n " << n << (fadeIn ? " in" : " out");
            }
}

TEST(TFadeCurve, FirstAndLastFramesFollowTheClosedForm) {
    const int64_t n = 44100;
    std::vector<int16_t> source(size_t(n), 30000);
    std::vector<int16_t> in(source.size());
    std::vector<int16_t> out(source.size());
    TFadeCurve(true, n).Apply(source.data(), in.data(), n, 1);
    TFadeCurve(false, n).Apply(source.data(), out.data(), n, 1);
    const double step = std::numbers::pi / 2 / double(n);
    EXPECT_EQ(in.front(), int16_t(std::lround(30000 * std::sin(step))));
    EXPECT_EQ(in.back(), 30000);
    EXPECT_EQ(out.front(), int16_t(std::lround(30000 * std::cos(step))));
    EXPECT_EQ(out.back(), 0);
    EXPECT_EQ(in[size_t(n / 2 - 1)], int16_t(std::lround(30000 * std::sin(std::numbers::pi / 4))));
}
