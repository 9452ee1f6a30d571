#pragma once

#include <cstdint>

/// The inner steps of the fade curve (TFadeCurve): a plain variant that builds on every processor
/// and, where the compiler targets SSE2, one that works on two values at a time, and on x86
/// processors with AVX one that works on four. The fade's
/// results are the same with either (TFadeCurve checks every product against its rounding
/// boundary and computes the rare close one again exactly); the choice changes only the speed.
struct FadeKernels {
    /// factors[k] := the polynomial sine (fade in) or cosine (fade out) of angles[k] for every k
    /// below `count` rounded up to even: both arrays must have room for that one more value.
    void (*Factors)(bool fadeIn, const double* angles, double* factors, int32_t count);
    /// out[i] := in[i] × factors[i] rounded to the nearest integer, ties to even, for i below
    /// `count`; returns the largest distance between a product and its rounded value.
    double (*Products)(const int16_t* in, const double* factors, int16_t* out, int32_t count);
    /// The same for `frames` stereo frames with one factor per frame: out[2k + c] := in[2k + c] ×
    /// factors[k] rounded, for c = 0, 1.
    double (*StereoProducts)(const int16_t* in, const double* factors, int16_t* out,
                             int32_t frames);
    /// angles[k] := start + (k + 1) × increment for every k below `frames` (at least 1); true
    /// when these are the running sums of theta, added in double precision: angles[0] = start +
    /// theta and angles[k] = angles[k − 1] + theta.
    bool (*Angles)(double start, double increment, double theta, double* angles, int32_t frames);
};

/// The plain variant; built on every processor.
extern const FadeKernels PlainFadeKernels;

#if defined(__SSE2__)
/// The SSE2 variant.
extern const FadeKernels Sse2FadeKernels;
#endif

#if defined(__x86_64__)
/// The AVX variant (x86-64): four values at a time; only where `HasAvx` is true.
extern const FadeKernels AvxFadeKernels;
#endif

/// True when this processor runs the AVX variant.
bool HasAvx();

/// The fastest variant of this build on this processor.
const FadeKernels& BestFadeKernels();

/// The polynomial factor of one angle on 0 … π/2: within 1e-14 of std::sin (fade in) or std::cos
/// (fade out).
double ApproximateFactor(bool fadeIn, double angle);
