#pragma once

#include "FloatToPcm16.h"
#include "MinMaxKernels.h"

#include <cstdint>

/// The kernels picked for this processor, set once while the program starts (see `SelectKernels`)
/// and only read afterwards.
extern FloatToPcm16Converter FloatToPcm16Proc;
extern MinMaxKernel MinMax16Proc;

/// Probes the processor and points the two kernels above at the best variant: the defaults are
/// the plain converter and the 64-bit multimedia scan; SSE picks the SSE converter; SSE2 picks
/// the SSE2 converter and the 128-bit scan. Runs by itself at start; calling it again is harmless.
void SelectKernels();

/// Smallest and largest of `count` samples, the minimum starting from 32767 and the maximum from
/// 0 (so max ≥ 0; with no samples min = 32767, max = 0). The data need no alignment.
void MinMaxMono(const int16_t* data, int32_t count, int16_t& min, int16_t& max);

/// The same per channel for `count` interleaved samples of two channels (count even, channel 0
/// first in each frame).
void MinMaxStereo(const int16_t* data, int32_t count, int16_t& min0, int16_t& max0, int16_t& min1,
                  int16_t& max1);

/// Converts floats to 16-bit samples with the converter picked for this processor; see
/// FloatToPcm16.h for the rule and the result.
int32_t ConvertFromFloat(const float* source, int16_t* destination, uint8_t width, int32_t count);
