#pragma once

#include <cstdint>

/// The inner loop of the gain edit, in a plain variant that looks every sample up in the gain
/// table (TGainTable) and, on x86-64 processors with AVX, one that computes eight samples at a
/// time with the same rounding and clipping as the table's entries. Both give the same samples;
/// the choice changes only the speed.
struct GainKernels {
    /// out[i] := the gain table's entry for in[i], for i below `count`. `lookup` points at the
    /// table's entry for the value 0 of a table built for `gain`. `in` and `out` may be the same
    /// array.
    void (*Apply)(const int16_t* lookup, float gain, const int16_t* in, int16_t* out,
                  int64_t count);
};

/// The plain variant; built on every processor.
extern const GainKernels PlainGainKernels;

#if defined(__x86_64__)
/// The AVX variant; only where `HasAvx` (FadeKernels.h) is true.
extern const GainKernels AvxGainKernels;
#endif

/// The fastest variant of this build on this processor.
const GainKernels& BestGainKernels();
