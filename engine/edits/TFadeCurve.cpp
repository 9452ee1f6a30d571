#include "TFadeCurve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

/// Products closer than this to a half-integer are computed again exactly. The polynomial factors
/// differ from std::sin and std::cos by less than 1e-14 (the tests check it), so the product of a
/// 16-bit sample moves by less than 4e-10: inside this margin.
constexpr double BoundaryMargin = 1e-9;

} // namespace

TFadeCurve::TFadeCurve(bool fadeIn, int64_t frames, const FadeKernels& kernels)
    : Kernels(kernels)
    , FadeIn(fadeIn)
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
    return ApproximateFactor(fadeIn, angle);
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
    if (channels > 2)
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
    if (!Kernels.Angles(start, increment, Theta, angles, frames)) {
        double angle = start;
        for (int32_t k = 0; k < frames; ++k) {
            angle += Theta;
            angles[k] = angle;
        }
    }
    CurrentAngle = angles[frames - 1];
}

void TFadeCurve::ApproximateFactors(int32_t frames) {
    // The arrays have room for one more value, so an odd count ends with a whole pair.
    Kernels.Factors(FadeIn, Angles.data(), Factors.data(), frames);
}

bool TFadeCurve::ApproximateProducts(const int16_t* in, int16_t* out, int32_t frames,
                                     int32_t channels) {
    const double* factors = Factors.data();
    double worst = 0.0;
    if (channels == 1) {
        worst = Kernels.Products(in, factors, out, frames);
    } else if (channels == 2) {
        worst = Kernels.StereoProducts(in, factors, out, frames);
    } else {
        double* spread = SampleFactors.data();
        for (int32_t k = 0; k < frames; ++k)
            std::fill_n(spread + k * channels, channels, factors[k]);
        worst = Kernels.Products(in, spread, out, frames * channels);
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
