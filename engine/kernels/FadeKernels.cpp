#include "FadeKernels.h"

#include <algorithm>
#include <array>
#include <cmath>

#if defined(__x86_64__)
#include <immintrin.h>
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr double Factorial(int n) {
    double f = 1.0;
    for (int i = 2; i <= n; ++i)
        f *= i;
    return f;
}

/// Taylor coefficients (−1)^i / (2i + 1)! (sine) or (−1)^i / (2i)! (cosine) for i = 1 … N.
template <int N> constexpr std::array<double, N> Coefficients(bool sine) {
    std::array<double, N> c{};
    for (int i = 1; i <= N; ++i)
        c[i - 1] = (i % 2 ? -1.0 : 1.0) / Factorial(sine ? 2 * i + 1 : 2 * i);
    return c;
}

/// Sine to x^19 and cosine to x^18: on 0 … π/2 the first omitted terms are below 3e-16 and
/// 4e-15.
constexpr auto SineCoefficients = Coefficients<9>(true);
constexpr auto CosineCoefficients = Coefficients<9>(false);

// --- Plain variant ---

/// Σ c_i x2^(i − 1) by Horner's rule.
template <size_t N> double Series(double x2, const std::array<double, N>& c) {
    double q = c[N - 1];
    for (size_t i = N - 1; i-- > 0;)
        q = q * x2 + c[i];
    return q;
}

void PlainFactors(bool fadeIn, const double* angles, double* factors, int32_t count) {
    for (int32_t k = 0; k < count + count % 2; ++k)
        factors[k] = ApproximateFactor(fadeIn, angles[k]);
}

double PlainProducts(const int16_t* in, const double* factors, int16_t* out, int32_t count) {
    double worst = 0.0;
    for (int32_t i = 0; i < count; ++i) {
        const double product = double(in[i]) * factors[i];
        const double rounded = std::nearbyint(product); // ties to even in the default mode
        out[i] = static_cast<int16_t>(std::clamp(rounded, -32768.0, 32767.0));
        worst = std::max(worst, std::fabs(product - rounded));
    }
    return worst;
}

double PlainStereoProducts(const int16_t* in, const double* factors, int16_t* out, int32_t frames) {
    double worst = 0.0;
    for (int32_t k = 0; k < frames; ++k) {
        const double pair[2] = {factors[k], factors[k]};
        worst = std::max(worst, PlainProducts(in + 2 * k, pair, out + 2 * k, 2));
    }
    return worst;
}

/// True when angles[k] = angles[k − 1] + theta for every k in `first` … frames − 1.
bool PlainStepsHold(const double* angles, int32_t first, int32_t frames, double theta) {
    bool wrong = false;
    for (int32_t k = first; k < frames; ++k)
        wrong |= angles[k] != angles[k - 1] + theta;
    return !wrong;
}

bool PlainAngles(double start, double increment, double theta, double* angles, int32_t frames) {
    for (int32_t k = 0; k < frames; ++k)
        angles[k] = start + double(k + 1) * increment;
    return angles[0] == start + theta && PlainStepsHold(angles, 1, frames, theta);
}

// --- SSE2 variant ---

#if defined(__SSE2__)

/// Adding and subtracting 1.5 × 2^52 rounds a double of magnitude below 2^51 to an integer, to
/// nearest with ties to even (the default rounding mode).
constexpr double RoundingMagic = 6755399441055744.0;

template <size_t N> __m128d SeriesPair(__m128d x2, const std::array<double, N>& c) {
    __m128d q = _mm_set1_pd(c[N - 1]);
    for (size_t i = N - 1; i-- > 0;)
        q = _mm_add_pd(_mm_mul_pd(q, x2), _mm_set1_pd(c[i]));
    return q;
}

/// sin x = x + x³ · Σ …; cos x = 1 + x² · Σ ….
__m128d ApproximatePair(bool fadeIn, __m128d x) {
    const __m128d x2 = _mm_mul_pd(x, x);
    if (fadeIn)
        return _mm_add_pd(x, _mm_mul_pd(_mm_mul_pd(x, x2), SeriesPair(x2, SineCoefficients)));
    return _mm_add_pd(_mm_set1_pd(1.0), _mm_mul_pd(x2, SeriesPair(x2, CosineCoefficients)));
}

void Sse2Factors(bool fadeIn, const double* angles, double* factors, int32_t count) {
    for (int32_t k = 0; k < count; k += 2)
        _mm_storeu_pd(factors + k, ApproximatePair(fadeIn, _mm_loadu_pd(angles + k)));
}

/// Four 32-bit integers from four rounded doubles.
__m128i ToInt32(__m128d low, __m128d high) {
    return _mm_unpacklo_epi64(_mm_cvttpd_epi32(low), _mm_cvttpd_epi32(high));
}

/// Eight samples times eight factors, rounded; `worst` keeps the largest distance between a
/// product and its rounded value.
void ScaleEight(const int16_t* in, const double* factors, int16_t* out, __m128d& worst) {
    const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i low = _mm_srai_epi32(_mm_unpacklo_epi16(samples, samples), 16);
    const __m128i high = _mm_srai_epi32(_mm_unpackhi_epi16(samples, samples), 16);
    const __m128d values[4] = {_mm_cvtepi32_pd(low), _mm_cvtepi32_pd(_mm_srli_si128(low, 8)),
                               _mm_cvtepi32_pd(high), _mm_cvtepi32_pd(_mm_srli_si128(high, 8))};
    const __m128d magic = _mm_set1_pd(RoundingMagic);
    const __m128d noSign = _mm_castsi128_pd(_mm_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    __m128d rounded[4];
    for (int j = 0; j < 4; ++j) {
        const __m128d product = _mm_mul_pd(values[j], _mm_loadu_pd(factors + 2 * j));
        rounded[j] = _mm_sub_pd(_mm_add_pd(product, magic), magic);
        worst = _mm_max_pd(worst, _mm_and_pd(_mm_sub_pd(product, rounded[j]), noSign));
    }
    const __m128i packed =
        _mm_packs_epi32(ToInt32(rounded[0], rounded[1]), ToInt32(rounded[2], rounded[3]));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), packed);
}

double Sse2Products(const int16_t* in, const double* factors, int16_t* out, int32_t count) {
    __m128d worstPair = _mm_setzero_pd();
    int32_t i = 0;
    for (; i + 8 <= count; i += 8)
        ScaleEight(in + i, factors + i, out + i, worstPair);
    const double worst =
        std::max(_mm_cvtsd_f64(worstPair), _mm_cvtsd_f64(_mm_unpackhi_pd(worstPair, worstPair)));
    return std::max(worst, PlainProducts(in + i, factors + i, out + i, count - i));
}

double Sse2StereoProducts(const int16_t* in, const double* factors, int16_t* out, int32_t frames) {
    alignas(16) double spread[8];
    __m128d worstPair = _mm_setzero_pd();
    int32_t k = 0;
    for (; k + 4 <= frames; k += 4) {
        for (int j = 0; j < 4; ++j)
            _mm_store_pd(spread + 2 * j, _mm_set1_pd(factors[k + j]));
        ScaleEight(in + 2 * k, spread, out + 2 * k, worstPair);
    }
    const double worst =
        std::max(_mm_cvtsd_f64(worstPair), _mm_cvtsd_f64(_mm_unpackhi_pd(worstPair, worstPair)));
    return std::max(worst, PlainStereoProducts(in + 2 * k, factors + k, out + 2 * k, frames - k));
}

#endif

// --- AVX variant ---

#if defined(__x86_64__)

// Additions and multiplications only, in the same order as the other variants and without fused
// multiply-adds, so that every factor and product is the same to the last bit.

template <size_t N>
__attribute__((target("avx"))) __m256d SeriesQuad(__m256d x2, const std::array<double, N>& c) {
    __m256d q = _mm256_set1_pd(c[N - 1]);
    for (size_t i = N - 1; i-- > 0;)
        q = _mm256_add_pd(_mm256_mul_pd(q, x2), _mm256_set1_pd(c[i]));
    return q;
}

__attribute__((target("avx"))) __m256d ApproximateQuad(bool fadeIn, __m256d x) {
    const __m256d x2 = _mm256_mul_pd(x, x);
    if (fadeIn)
        return _mm256_add_pd(x,
                             _mm256_mul_pd(_mm256_mul_pd(x, x2), SeriesQuad(x2, SineCoefficients)));
    return _mm256_add_pd(_mm256_set1_pd(1.0),
                         _mm256_mul_pd(x2, SeriesQuad(x2, CosineCoefficients)));
}

__attribute__((target("avx"))) void AvxFactors(bool fadeIn, const double* angles, double* factors,
                                               int32_t count) {
    int32_t k = 0;
    for (; k + 4 <= count; k += 4)
        _mm256_storeu_pd(factors + k, ApproximateQuad(fadeIn, _mm256_loadu_pd(angles + k)));
    if (k < count)
        PlainFactors(fadeIn, angles + k, factors + k, count - k);
}

/// Eight samples times eight factors, rounded to nearest with ties to even; `worst` keeps the
/// largest distance between a product and its rounded value.
__attribute__((target("avx"))) void ScaleEightAvx(const int16_t* in, const double* factors,
                                                  int16_t* out, __m256d& worst) {
    const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i low = _mm_srai_epi32(_mm_unpacklo_epi16(samples, samples), 16);
    const __m128i high = _mm_srai_epi32(_mm_unpackhi_epi16(samples, samples), 16);
    const __m256d noSign = _mm256_castsi256_pd(_mm256_set1_epi64x(0x7FFFFFFFFFFFFFFF));
    const __m256d productLow = _mm256_mul_pd(_mm256_cvtepi32_pd(low), _mm256_loadu_pd(factors));
    const __m256d productHigh =
        _mm256_mul_pd(_mm256_cvtepi32_pd(high), _mm256_loadu_pd(factors + 4));
    constexpr int Nearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
    const __m256d roundedLow = _mm256_round_pd(productLow, Nearest);
    const __m256d roundedHigh = _mm256_round_pd(productHigh, Nearest);
    worst = _mm256_max_pd(worst, _mm256_and_pd(_mm256_sub_pd(productLow, roundedLow), noSign));
    worst = _mm256_max_pd(worst, _mm256_and_pd(_mm256_sub_pd(productHigh, roundedHigh), noSign));
    const __m128i packed =
        _mm_packs_epi32(_mm256_cvttpd_epi32(roundedLow), _mm256_cvttpd_epi32(roundedHigh));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), packed);
}

__attribute__((target("avx"))) double AvxProducts(const int16_t* in, const double* factors,
                                                  int16_t* out, int32_t count) {
    __m256d worstQuad = _mm256_setzero_pd();
    int32_t i = 0;
    for (; i + 8 <= count; i += 8)
        ScaleEightAvx(in + i, factors + i, out + i, worstQuad);
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, worstQuad);
    const double worst = std::max({lanes[0], lanes[1], lanes[2], lanes[3]});
    return std::max(worst, PlainProducts(in + i, factors + i, out + i, count - i));
}

/// Four stereo frames: eight samples times their frames' four factors.
__attribute__((target("avx"))) void ScaleFourFramesAvx(const int16_t* in, const double* factors,
                                                       int16_t* out, __m256d& worst) {
    const __m128d first = _mm_loadu_pd(factors);      // f0 f1
    const __m128d second = _mm_loadu_pd(factors + 2); // f2 f3
    // Each factor twice, in frame order: f0 f0 f1 f1, f2 f2 f3 f3.
    alignas(32) double spread[8];
    _mm256_store_pd(spread, _mm256_permute_pd(_mm256_set_m128d(first, first), 0b1100));
    _mm256_store_pd(spread + 4, _mm256_permute_pd(_mm256_set_m128d(second, second), 0b1100));
    ScaleEightAvx(in, spread, out, worst);
}

__attribute__((target("avx"))) double AvxStereoProducts(const int16_t* in, const double* factors,
                                                        int16_t* out, int32_t frames) {
    __m256d worstQuad = _mm256_setzero_pd();
    int32_t k = 0;
    for (; k + 4 <= frames; k += 4)
        ScaleFourFramesAvx(in + 2 * k, factors + k, out + 2 * k, worstQuad);
    alignas(32) double lanes[4];
    _mm256_store_pd(lanes, worstQuad);
    const double worst = std::max({lanes[0], lanes[1], lanes[2], lanes[3]});
    return std::max(worst, PlainStereoProducts(in + 2 * k, factors + k, out + 2 * k, frames - k));
}

__attribute__((target("avx"))) bool AvxAngles(double start, double increment, double theta,
                                              double* angles, int32_t frames) {
    const __m256d origin = _mm256_set1_pd(start);
    const __m256d step = _mm256_set1_pd(increment);
    __m256d counts = _mm256_set_pd(4.0, 3.0, 2.0, 1.0);
    int32_t k = 0;
    for (; k + 4 <= frames; k += 4) {
        _mm256_storeu_pd(angles + k, _mm256_add_pd(origin, _mm256_mul_pd(counts, step)));
        counts = _mm256_add_pd(counts, _mm256_set1_pd(4.0));
    }
    for (; k < frames; ++k)
        angles[k] = start + double(k + 1) * increment;
    const __m256d sumStep = _mm256_set1_pd(theta);
    __m256d wrong = _mm256_setzero_pd();
    int32_t j = 1;
    for (; j + 4 <= frames; j += 4) {
        const __m256d sums = _mm256_add_pd(_mm256_loadu_pd(angles + j - 1), sumStep);
        wrong = _mm256_or_pd(wrong, _mm256_cmp_pd(_mm256_loadu_pd(angles + j), sums, _CMP_NEQ_UQ));
    }
    return angles[0] == start + theta && _mm256_movemask_pd(wrong) == 0 &&
           PlainStepsHold(angles, j, frames, theta);
}

#endif

} // namespace

double ApproximateFactor(bool fadeIn, double angle) {
    const double x2 = angle * angle;
    if (fadeIn)
        return angle + angle * x2 * Series(x2, SineCoefficients);
    return 1.0 + x2 * Series(x2, CosineCoefficients);
}

const FadeKernels PlainFadeKernels{PlainFactors, PlainProducts, PlainStereoProducts, PlainAngles};

#if defined(__SSE2__)
const FadeKernels Sse2FadeKernels{Sse2Factors, Sse2Products, Sse2StereoProducts, PlainAngles};
#endif

#if defined(__x86_64__)
const FadeKernels AvxFadeKernels{AvxFactors, AvxProducts, AvxStereoProducts, AvxAngles};
#endif

bool HasAvx() {
#if defined(__x86_64__)
    return __builtin_cpu_supports("avx");
#else
    return false;
#endif
}

const FadeKernels& BestFadeKernels() {
#if defined(__x86_64__)
    if (HasAvx())
        return AvxFadeKernels;
#endif
#if defined(__SSE2__)
    return Sse2FadeKernels;
#else
    return PlainFadeKernels;
#endif
}
