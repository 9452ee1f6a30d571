#include "Simd.h"

#include "CpuFeatures.h"

#include <algorithm>
#if defined(__i386__) || defined(__x86_64__)
#define SONDRIX_X86 1
#endif

#ifdef SONDRIX_X86
FloatToPcm16Converter FloatToPcm16Proc = convertFromFloat;
MinMaxKernel MinMax16Proc = MinMax16MMX;
#else
FloatToPcm16Converter FloatToPcm16Proc = convertFromFloat;
MinMaxKernel MinMax16Proc = MinMax16Plain;
#endif

void SelectKernels() {
    DetectCpuFeatures();
#ifdef SONDRIX_X86
    // Every x86-64 processor has the extended multimedia instructions, so the default is safe
    // there.
    FloatToPcm16Proc = convertFromFloat;
    MinMax16Proc = MinMax16MMX;
    if (CpuHasSSE)
        FloatToPcm16Proc = convertFromFloat_SSE;
    if (CpuHasSSE2) {
        FloatToPcm16Proc = convertFromFloat_SSE2;
        MinMax16Proc = MinMax16SSE2;
    }
#endif
}

namespace {

const bool KernelsSelected = (SelectKernels(), true);

/// Lowers min and raises max over `count` samples taken every `stride` samples.
void ScanTail(const int16_t* data, int32_t count, int32_t stride, int16_t& min, int16_t& max) {
    for (int32_t i = 0; i < count; i += stride) {
        min = std::min(min, data[i]);
        max = std::max(max, data[i]);
    }
}

#ifdef SONDRIX_X86
/// The 64-bit multimedia scan over the first count div 16 × 16 samples of a stereo run: lanes 0
/// and 2 hold channel 0, lanes 1 and 3 channel 1.
void StereoVectorScan(const int16_t* data, int32_t count, int16_t& min0, int16_t& max0,
                      int16_t& min1, int16_t& max1) {
    int16_t lo[4];
    int16_t hi[4];
    MinMax16LanesMMX(data, count, lo, hi);
    min0 = std::min(lo[0], lo[2]);
    min1 = std::min(lo[1], lo[3]);
    max0 = std::max(hi[0], hi[2]);
    max1 = std::max(hi[1], hi[3]);
}
#else
void StereoVectorScan(const int16_t* data, int32_t count, int16_t& min0, int16_t& max0,
                      int16_t& min1, int16_t& max1) {
    const int32_t scanned = count / 16 * 16;
    ScanTail(data, scanned, 2, min0, max0);
    ScanTail(data + 1, scanned, 2, min1, max1);
}
#endif

} // namespace

void MinMaxMono(const int16_t* data, int32_t count, int16_t& min, int16_t& max) {
    min = 32767;
    max = 0;
    if (count <= 0)
        return;
    if (count / 32 > 0)
        MinMax16Proc(data, count, min, max);
    // The kernel covers whole steps from the start; the last count mod 32 samples are scanned
    // here (some of them twice with the 16-sample kernel, which is harmless).
    const int32_t rest = count % 32;
    ScanTail(data + (count - rest), rest, 1, min, max);
}

void MinMaxStereo(const int16_t* data, int32_t count, int16_t& min0, int16_t& max0, int16_t& min1,
                  int16_t& max1) {
    min0 = min1 = 32767;
    max0 = max1 = 0;
    if (count <= 0)
        return;
    if (count / 32 > 0)
        StereoVectorScan(data, count, min0, max0, min1, max1);
    const int32_t rest = count % 32;
    const int16_t* tail = data + (count - rest);
    const int32_t frames = rest / 2;
    ScanTail(tail, frames * 2, 2, min0, max0);
    ScanTail(tail + 1, frames * 2, 2, min1, max1);
}

int32_t ConvertFromFloat(const float* source, int16_t* destination, uint8_t width, int32_t count) {
    return FloatToPcm16Proc(source, destination, width, count);
}
