#pragma once

#include <cstdint>

class QImage;

/// Blend kernels for 24-bit images: a weighted mix of two images and a 4 × 4 box reduction of
/// pixel rows, each in a plain, a 64-bit multimedia (MMX) and a 128-bit (SSE2) variant. The unit
/// reads the processor probe (CpuFeatures.h) once at start and points `Blend24Proc` and
/// `Reduce4x4Proc` at the best variant; all variants give byte-identical results. Builds for
/// processors other than x86 have only the plain variants.
///
/// Pixels are 3 bytes (blue, green, red); rows are padded to a multiple of 4 bytes, so a row
/// of width w takes (3w + 3) & ~3 bytes and an image is one block of stride × height bytes
/// (QImage::Format_BGR888 is laid out exactly like that). Call from one thread at a time per
/// target; the kernels keep no state.

/// The bytes one row of `width` 24-bit pixels takes, padding included.
constexpr int32_t Bitmap24Stride(int32_t width) {
    return (3 * width + 3) & ~3;
}

/// Mixes the stride × height byte blocks `a` and `b` into `target`: every byte becomes
/// (a × (32 − weight) + b × weight) div 32. `weight` is 0 … 32 (callers clamp it).
using TBlend24Proc = void (*)(const uint8_t* a, const uint8_t* b, uint8_t* target, int32_t weight,
                              int32_t height, int32_t width);

/// Box-reduces four source rows into one: for output pixels i = 0 … last div 3 (`last` is the
/// byte offset of the last output pixel), each channel of target pixel i is the sum of that
/// channel over source pixels 4i … 4i + 3 of the four rows, div 16. Each row must hold
/// 4 × (last div 3 + 1) pixels; nothing is read or written beyond them.
using TReduce4x4Proc = void (*)(int32_t last, uint8_t* target, const uint8_t* row0,
                                const uint8_t* row1, const uint8_t* row2, const uint8_t* row3);

void Blend24Scalar(const uint8_t* a, const uint8_t* b, uint8_t* target, int32_t weight,
                   int32_t height, int32_t width);
void Reduce4x4Scalar(int32_t last, uint8_t* target, const uint8_t* row0, const uint8_t* row1,
                     const uint8_t* row2, const uint8_t* row3);

#if defined(__x86_64__) || defined(__i386__)
#define SONDRIX_BLEND_X86 1
/// Needs MMX (`CpuHasMMX`); leaves the multimedia state empty on return.
void Blend24MMX(const uint8_t* a, const uint8_t* b, uint8_t* target, int32_t weight, int32_t height,
                int32_t width);
/// Needs SSE2 (`CpuHasSSE2`).
void Blend24SSE2(const uint8_t* a, const uint8_t* b, uint8_t* target, int32_t weight,
                 int32_t height, int32_t width);
/// Needs MMX (`CpuHasMMX`); leaves the multimedia state empty on return.
void Reduce4x4MMX(int32_t last, uint8_t* target, const uint8_t* row0, const uint8_t* row1,
                  const uint8_t* row2, const uint8_t* row3);
/// Needs SSE2 (`CpuHasSSE2`).
void Reduce4x4SSE2(int32_t last, uint8_t* target, const uint8_t* row0, const uint8_t* row1,
                   const uint8_t* row2, const uint8_t* row3);
#endif

/// The variants chosen at start: the plain ones, MMX ones when the processor has MMX, SSE2 ones
/// when it has SSE2.
extern TBlend24Proc Blend24Proc;
extern TReduce4x4Proc Reduce4x4Proc;

/// Blends the 24-bit images `a` and `b` into `target` through `Blend24Proc`:
/// target = (a × (32 − weight) + b × weight) / 32 for every byte, padding included. All three
/// must be QImage::Format_BGR888 images of the same size, else an `Exception` says so and nothing
/// changes. `weight` is clamped to 0 … 32. `target` is detached from any image it shares data with.
void BlendBitmaps(const QImage& a, const QImage& b, QImage& target, int32_t weight);
