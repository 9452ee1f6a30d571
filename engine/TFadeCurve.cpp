#include "TFadeCurve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <emmintrin.h>
#include <numbers>

namespace {

/// Adding and subtracting 1.5 × 2^52 rounds a double of magnitude below 2^51 to an integer, to
/// nearest with ties to even (the default rounding mode).
constexpr double RoundingMagic = 6755399441055744.0;

/// Products closer than this to a half-integer are computed again exactly. The polynomial factors
/// differ from the library's by less than 1e-14 (the tests check it), so the product of a 16-bit
/// sample moves by less than 4e-10: inside this margin.
constexpr double BoundaryMargin = 1e-9;

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

/// Σ c_i x2^(i − 1) by Horner's rule, two values at a time.
template <size_t N> __m128d Series(__m128d x2, const std::array<double, N>& c) {
    __m128d q = _mm_set1_pd(c[N - 1]);
    for (size_t i = N - 1; i-- > 0;)
        q = _mm_add_pd(_mm_mul_pd(q, x2), _mm_set1_pd(c[i]));
    return q;
}

/// sin x = x + x³ · Σ …; cos x = 1 + x² · Σ ….
__m128d ApproximatePair(bool fadeIn, __m128d x) {
    const __m128d x2 = _mm_mul_pd(x, x);
    if (fadeIn)
        return _mm_add_pd(x, _mm_mul_pd(_mm_mul_pd(x, x2), Series(x2, SineCoefficients)));
    return _mm_add_pd(_mm_set1_pd(1.0), _mm_mul_pd(x2, Series(x2, CosineCoefficients)));
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

double Larger(__m128d pair) {
    return std::max(_mm_cvtsd_f64(pair), _mm_cvtsd_f64(_mm_unpackhi_pd(pair, pair)));
}

} // namespace

TFadeCurve::TFadeCurve(bool fadeIn, int64_t frames)
    : FadeIn(fadeIn)
    , Theta(Step(frames))
    , Angles(ChunkFrames + 1)
    , Factors(ChunkFrames + 1) {}

double TFadeCurve::Step(int64_t frames) {
    const long double degrees = 90.0L / static_cast<long double>(frames);
    return static_cast<double>(degrees * (std::numbers::pi_v<long double> / 180.0L));
}

double TFadeCurve::Factor(double angle) const {
    return FadeIn ? std::sin(angle) : std::cos(angle);
}

double TFadeCurve::Approximate(bool fadeIn, double angle) {
    return _mm_cvtsd_f64(ApproximatePair(fadeIn, _mm_set1_pd(angle)));
}

int16_t TFadeCurve::Scale(int16_t sample, double factor) {
    const double product = double(sample) * factor;
    // The rounding error of the product, exactly: it decides a product that rounded onto a tie.
    const double error = std::fma(double(sample), factor, -product);
    double rounded = std::nearbyint(product);
    const double offset = product - rounded; // exact: both lie on the product's grid
    if (offset == 0.5 && error > 0.0)
        rounded += 1.0;
    else if (offset == -0.5 && error < 0.0)
        rounded -= 1.0;
    return static_cast<int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}

void TFadeCurve::Apply(const int16_t* in, int16_t* out, int64_t frames, int32_t channels) {
    SampleFactors.resize(size_t(ChunkFrames) * size_t(channels));
    while (frames > 0) {
        const auto chunk = static_cast<int32_t>(std::min<int64_t>(frames, ChunkFrames));
        ApplyChunk(in, out, chunk, channels);
        in += int64_t(chunk) * channels;
        out += int64_t(chunk) * channels;
        frames -= chunk;
    }
}

void TFadeCurve::ApplyChunk(const int16_t* in, int16_t* out, int32_t frames, int32_t channels) {
    NextAngles(frames);
    ApproximateFactors(frames);
    if (!ApproximateProducts(in, out, frames, channels))
        ExactProducts(in, out, frames, channels);
}

void TFadeCurve::NextAngles(int32_t frames) {
    // The sum of steps grows by one constant amount while it stays within one binade, so it is
    // predicted in closed form and then every predicted addition is checked, which needs no chain
    // of dependent additions. Where the check fails the sums are added up one by one.
    double* angles = Angles.data();
    const double start = CurrentAngle;
    const double increment = (start + Theta) - start;
    for (int32_t k = 0; k < frames; ++k)
        angles[k] = start + double(k + 1) * increment;
    bool exact = angles[0] == start + Theta;
    const __m128d theta = _mm_set1_pd(Theta);
    __m128d wrong = _mm_setzero_pd();
    int32_t k = 1;
    for (; k + 1 < frames; k += 2) {
        const __m128d sum = _mm_add_pd(_mm_loadu_pd(angles + k - 1), theta);
        wrong = _mm_or_pd(wrong, _mm_cmpneq_pd(_mm_loadu_pd(angles + k), sum));
    }
    exact = exact && _mm_movemask_pd(wrong) == 0;
    for (; k < frames; ++k)
        exact = exact && angles[k] == angles[k - 1] + Theta;
    if (!exact) {
        double angle = start;
        for (k = 0; k < frames; ++k) {
            angle += Theta;
            angles[k] = angle;
        }
    }
    CurrentAngle = angles[frames - 1];
}

void TFadeCurve::ApproximateFactors(int32_t frames) {
    const double* angles = Angles.data();
    double* factors = Factors.data();
    // The arrays have room for one more value, so an odd count ends with a whole pair.
    for (int32_t k = 0; k < frames; k += 2)
        _mm_storeu_pd(factors + k, ApproximatePair(FadeIn, _mm_loadu_pd(angles + k)));
}

bool TFadeCurve::ApproximateProducts(const int16_t* in, int16_t* out, int32_t frames,
                                     int32_t channels) {
    const double* factors = Factors.data();
    if (channels > 1) {
        double* spread = SampleFactors.data();
        for (int32_t k = 0; k < frames; ++k)
            std::fill_n(spread + k * channels, channels, factors[k]);
        factors = spread;
    }
    const int32_t count = frames * channels;
    __m128d worstPair = _mm_setzero_pd();
    int32_t i = 0;
    for (; i + 8 <= count; i += 8)
        ScaleEight(in + i, factors + i, out + i, worstPair);
    double worst = Larger(worstPair);
    for (; i < count; ++i) {
        const double product = double(in[i]) * factors[i];
        const double rounded = (product + RoundingMagic) - RoundingMagic;
        out[i] = static_cast<int16_t>(rounded);
        worst = std::max(worst, std::fabs(product - rounded));
    }
    return worst <= 0.5 - BoundaryMargin;
}

void TFadeCurve::ExactProducts(const int16_t* in, int16_t* out, int32_t frames,
                               int32_t channels) const {
    for (int32_t k = 0; k < frames; ++k) {
        const double factor = Factor(Angles[size_t(k)]);
        for (int32_t c = 0; c < channels; ++c) {
            const int32_t i = k * channels + c;
            out[i] = Scale(in[i], factor);
        }
    }
}
