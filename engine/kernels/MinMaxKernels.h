#pragma once

#include <cstdint>

/// Minimum/maximum kernels over signed 16-bit samples, all with one contract: they scan the first
/// `count` samples rounded down to a multiple of their width (16 or 32) and return
/// min = the smallest of 32767 and those samples, max = the largest of 0 and those samples.
/// Callers pass count ≥ 32; the data need no alignment. Every variant gives the same result.
using MinMaxKernel = void (*)(const int16_t* data, int32_t count, int16_t& min, int16_t& max);

/// Plain C++ kernel, 16 samples per step: the choice on processors without x86 vector units.
void MinMax16Plain(const int16_t* data, int32_t count, int16_t& min, int16_t& max);

#if defined(__i386__) || defined(__x86_64__)
/// 64-bit multimedia kernel (extended MMX instructions), 16 samples per step.
void MinMax16MMX(const int16_t* data, int32_t count, int16_t& min, int16_t& max);

/// The 64-bit multimedia steps behind MinMax16MMX, also used by the stereo scan: over the first
/// count div 16 × 16 samples, lane k of lo (hi) receives the smallest of 32767 (largest of 0) and
/// the samples whose index is k modulo 4. Leaves the multimedia state clear for floating point.
void MinMax16LanesMMX(const int16_t* data, int32_t count, int16_t (&lo)[4], int16_t (&hi)[4]);

/// 128-bit kernel (SSE2), 32 samples per step.
void MinMax16SSE2(const int16_t* data, int32_t count, int16_t& min, int16_t& max);
#endif
