#pragma once

#include <cstdint>

/// Float-to-16-bit converters. Each converts `count` floats at `source` into `count` signed
/// 16-bit samples at `destination`, in order, and returns `count`. `width` is the output sample
/// size in bytes and must be 2; any other width converts nothing and returns 0.
///
/// The rule, the same in every variant: multiply by 32768; NaN gives 0; clamp to
/// [−32768, 32767] while still a float; round to nearest, ties to even (the processor's default
/// rounding mode). A 16-bit sample decoded as sample / 32768 therefore comes back unchanged.
/// Neither pointer needs any alignment.
using FloatToPcm16Converter = int32_t (*)(const float* source, int16_t* destination, uint8_t width,
                                          int32_t count);

/// Plain C++ converter.
int32_t convertFromFloat(const float* source, int16_t* destination, uint8_t width, int32_t count);

#if defined(__i386__) || defined(__x86_64__)
/// SSE converter: four samples per step through the 64-bit multimedia registers.
int32_t convertFromFloat_SSE(const float* source, int16_t* destination, uint8_t width,
                             int32_t count);

/// SSE2 converter: eight samples per step.
int32_t convertFromFloat_SSE2(const float* source, int16_t* destination, uint8_t width,
                              int32_t count);
#endif
