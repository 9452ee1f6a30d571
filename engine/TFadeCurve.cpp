#include "TFadeCurve.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

/// Adding and subtracting 1.5 × 2^52 rounds a double of magnitude below 2^51 to an integer, to
/// nearest with ties to even (the default rounding mode).
constexpr double RoundingMagic = 6755399441055744.0;

/// Products closer than this to a half-integer are computed again exactly. The polynomial factors
/// differ from the library's by less than 1e-15 (the tests check it), so the product of a 16-bit
/// sample moves by less than 4e-11: far inside this margin.
constexpr double BoundaryMargin = 1e-9;

constexpr double Factorial(int n) {
    double f = 1.0;
    for (int i = 2; i <= n; ++i)
        f *= i;
    return f;
}

/// Taylor coefficients (−1)^i / (2i + 1 − odd)! for i = 1 … N: sine when `odd` is 0 (i.e.
/// 1/(2i+1)!), cosine when it is 1 (1/(2i)!). On 0 … π/2 the first omitted terms of the
/// series below stay under 2e-17.
template <int N> constexpr std::array<double, N> Coefficients(bool sine) {
    std::array<double, N> c{};
    for (int i = 1; i <= N; ++i)
        c[i - 1] = (i % 2 ? -1.0 : 1.0) / Factorial(sine ? 2 * i + 1 : 2 * i);
    return c;
}

constexpr auto SineCoefficients = Coefficients<10>(true);
constexpr auto CosineCoefficients = Coefficients<11>(false);

/// sin x = x + x³ · Σ c_i x^(2i − 2).
inline double SineApprox(double x) {
    const double x2 = x * x;
    double q = SineCoefficients.back();
    for (int i = int(SineCoefficients.size()) - 2; i >= 0; --i)
        q = q * x2 + SineCoefficients[size_t(i)];
    return x + x * x2 * q;
}

/// cos x = 1 + x² · Σ c_i x^(2i − 2).
inline double CosineApprox(double x) {
    const double x2 = x * x;
    double q = CosineCoefficients.back();
    for (int i = int(CosineCoefficients.size()) - 2; i >= 0; --i)
        q = q * x2 + CosineCoefficients[size_t(i)];
    return 1.0 + x2 * q;
}

} // namespace

TFadeCurve::TFadeCurve(bool fadeIn, int64_t frames)
    : FadeIn(fadeIn)
    , Theta(Step(frames))
    , Angles(ChunkFrames)
    , Factors(ChunkFrames) {}

double TFadeCurve::Step(int64_t frames) {
    const long double degrees = 90.0L / static_cast<long double>(frames);
    return static_cast<double>(degrees * (std::numbers::pi_v<long double> / 180.0L));
}

double TFadeCurve::Factor(double angle) const {
    return FadeIn ? std::sin(angle) : std::cos(angle);
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
    for (int32_t k = 1; k < frames; ++k)
        exact &= angles[k] == angles[k - 1] + Theta;
    if (!exact) {
        double angle = start;
        for (int32_t k = 0; k < frames; ++k) {
            angle += Theta;
            angles[k] = angle;
        }
    }
    CurrentAngle = angles[frames - 1];
}

void TFadeCurve::ApproximateFactors(int32_t frames) {
    const double* angles = Angles.data();
    double* factors = Factors.data();
    if (FadeIn) {
        for (int32_t k = 0; k < frames; ++k)
            factors[k] = SineApprox(angles[k]);
    } else {
        for (int32_t k = 0; k < frames; ++k)
            factors[k] = CosineApprox(angles[k]);
    }
}

bool TFadeCurve::ApproximateProducts(const int16_t* in, int16_t* out, int32_t frames,
                                     int32_t channels) {
    const double* factors = Factors.data();
    if (channels > 1) {
        double* spread = SampleFactors.data();
        for (int32_t k = 0; k < frames; ++k)
            for (int32_t c = 0; c < channels; ++c)
                spread[k * channels + c] = factors[k];
        factors = spread;
    }
    const int32_t count = frames * channels;
    int32_t nearBoundary = 0;
    for (int32_t i = 0; i < count; ++i) {
        const double product = double(in[i]) * factors[i];
        const double rounded = (product + RoundingMagic) - RoundingMagic;
        out[i] = static_cast<int16_t>(static_cast<int32_t>(rounded));
        nearBoundary |= std::fabs(product - rounded) > 0.5 - BoundaryMargin;
    }
    return nearBoundary == 0;
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
