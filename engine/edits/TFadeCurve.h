#pragma once

#include "FadeKernels.h"

#include <cstdint>
#include <vector>

/// The gain curve of a fade over n frames and its application to interleaved 16-bit samples.
///
/// Frame k of the range is scaled by sin(angle) (fade in) or cos(angle) (fade out), where angle
/// grows by θ = (90 / n) × (π / 180) before each frame, added up in double precision, so frame k
/// uses the sum of k + 1 steps. Every sample becomes the nearest integer to the exact product of
/// the sample and the factor, ties to even. The first frame gets sin θ or cos θ, the last sin 90°
/// = 1 or cos 90°, which makes every sample 0.
///
/// `Apply` gives exactly those results, block after block, but computes most factors with a
/// polynomial and checks each product's distance from a rounding boundary; only the rare sample
/// that lies too close to one is computed again with std::sin and std::cos. The vector
/// steps come from `FadeKernels` (the fastest variant of the build unless another is given); the
/// results do not depend on the variant. One thread.
class TFadeCurve {
public:
    TFadeCurve(bool fadeIn, int64_t frames, const FadeKernels& kernels = BestFadeKernels());

    /// θ for a fade of `frames` frames, computed in extended precision and stored as a double.
    static double Step(int64_t frames);
    /// The factor of an accumulated angle, as std::sin or std::cos gives it.
    double Factor(double angle) const;
    /// The polynomial that gives most factors of `Apply`: within 1e-14 of `Factor` on 0 … π/2.
    static double Approximate(bool fadeIn, double angle);
    /// The nearest integer to the exact product sample × factor, ties to even.
    static int16_t Scale(int16_t sample, double factor);

    /// Scales the next `frames` frames of `in` (interleaved, `channels` per frame) into `out`
    /// and advances the angle past them. `in` and `out` must not overlap.
    void Apply(const int16_t* in, int16_t* out, int64_t frames, int32_t channels);

    /// The angle of the last frame processed; 0 before the first.
    double Angle() const { return CurrentAngle; }

private:
    static constexpr int32_t ChunkFrames = 1024;

    void ApplyChunk(const int16_t* in, int16_t* out, int32_t frames, int32_t channels);
    void NextAngles(int32_t frames);
    void ApproximateFactors(int32_t frames);
    bool ApproximateProducts(const int16_t* in, int16_t* out, int32_t frames, int32_t channels);
    void ExactProducts(const int16_t* in, int16_t* out, int32_t frames, int32_t channels) const;

    const FadeKernels& Kernels;
    bool FadeIn;
    double Theta;
    double CurrentAngle = 0.0;
    std::vector<double> Angles;        ///< per frame of the chunk: the accumulated angle
    std::vector<double> Factors;       ///< per frame: the approximate factor
    std::vector<double> SampleFactors; ///< per sample, beyond two channels: its frame's factor
};
