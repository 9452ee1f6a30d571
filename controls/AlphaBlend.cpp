#include "AlphaBlend.h"

#include "CpuFeatures.h"
#include "Exceptions.h"

#include <QImage>

#include <algorithm>
#include <cstring>

#if defined(SONDRIX_BLEND_X86)
#include <emmintrin.h>
#include <mmintrin.h>
#endif

TBlend24Proc Blend24Proc = Blend24Scalar;
TReduce4x4Proc Reduce4x4Proc = Reduce4x4Scalar;

namespace {

constexpr uint32_t EvenBytes = 0x00FF00FF;
constexpr uint32_t OddBytes = 0xFF00FF00;

// Both weights add up to 32, so each 16-bit lane holds at most 255 × 32 (even bytes) or
// 255 × 8 × 32 (odd bytes, pre-shifted by 5) and never carries into its neighbour.
inline uint32_t BlendWord(uint32_t a, uint32_t b, uint32_t weightA, uint32_t weightB) {
    const uint32_t even = (a & EvenBytes) * weightA + (b & EvenBytes) * weightB;
    const uint32_t odd = ((a & OddBytes) >> 5) * weightA + ((b & OddBytes) >> 5) * weightB;
    return ((even >> 5) & EvenBytes) | (odd & OddBytes);
}

// Blends the 32-bit words from byte `from` to byte `to` (both multiples of 4).
void BlendWords(const uint8_t* a, const uint8_t* b, uint8_t* target, size_t from, size_t to,
                int32_t weight) {
    const uint32_t weightA = 32 - weight;
    const uint32_t weightB = weight;
    for (size_t i = from; i < to; i += 4) {
        uint32_t wordA, wordB;
        std::memcpy(&wordA, a + i, 4);
        std::memcpy(&wordB, b + i, 4);
        const uint32_t mixed = BlendWord(wordA, wordB, weightA, weightB);
        std::memcpy(target + i, &mixed, 4);
    }
}

size_t BlockBytes(int32_t height, int32_t width) {
    if (height <= 0 || width <= 0)
        return 0;
    return static_cast<size_t>(Bitmap24Stride(width)) * static_cast<size_t>(height);
}

#if defined(SONDRIX_BLEND_X86)

void ChooseBlendKernels() {
    DetectCpuFeatures();
    Blend24Proc = Blend24Scalar;
    Reduce4x4Proc = Reduce4x4Scalar;
    if (CpuHasMMX) {
        Blend24Proc = Blend24MMX;
        Reduce4x4Proc = Reduce4x4MMX;
    }
    if (CpuHasSSE2) {
        Blend24Proc = Blend24SSE2;
        Reduce4x4Proc = Reduce4x4SSE2;
    }
}

// Runs the probe and the kernel choice once, while the program starts.
[[maybe_unused]] const bool KernelsChosen = (ChooseBlendKernels(), true);

// Four 64-bit source pixels' worth of bytes: 12 bytes read as 8 + 4, never beyond them.
__attribute__((target("sse2"))) __m128i Load12(const uint8_t* p) {
    uint32_t tail;
    std::memcpy(&tail, p + 8, 4);
    const __m128i head = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    return _mm_unpacklo_epi64(head, _mm_cvtsi32_si128(static_cast<int>(tail)));
}

__attribute__((target("mmx"))) __m64 Load64(const uint8_t* p) {
    __m64 v;
    std::memcpy(&v, p, 8);
    return v;
}

__attribute__((target("mmx"))) __m64 Load32(const uint8_t* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return _mm_cvtsi32_si64(static_cast<int>(v));
}

#endif

} // namespace

void Blend24Scalar(const uint8_t* a, const uint8_t* b, uint8_t* target, int32_t weight,
                   int32_t height, int32_t width) {
    BlendWords(a, b, target, 0, BlockBytes(height, width), weight);
}

void Reduce4x4Scalar(int32_t last, uint8_t* target, const uint8_t* row0, const uint8_t* row1,
                     const uint8_t* row2, const uint8_t* row3) {
    if (last < 0)
        return;
    const uint8_t* rows[4] = {row0, row1, row2, row3};
    for (int32_t i = 0; i <= last / 3; ++i) {
        for (int32_t channel = 0; channel < 3; ++channel) {
            uint32_t sum = 0;
            for (const uint8_t* row : rows)
                for (int32_t k = 0; k < 4; ++k)
                    sum += row[(4 * i + k) * 3 + channel];
            target[3 * i + channel] = static_cast<uint8_t>(sum / 16);
        }
    }
}

#if defined(SONDRIX_BLEND_X86)

__attribute__((target("mmx"))) void Blend24MMX(const uint8_t* a, const uint8_t* b, uint8_t* target,
                                               int32_t weight, int32_t height, int32_t width) {
    const size_t bytes = BlockBytes(height, width);
    const __m64 evenMask = _mm_set1_pi32(static_cast<int>(EvenBytes));
    const __m64 oddMask = _mm_set1_pi32(static_cast<int>(OddBytes));
    const __m64 weightA = _mm_set1_pi16(static_cast<short>(32 - weight));
    const __m64 weightB = _mm_set1_pi16(static_cast<short>(weight));
    size_t i = 0;
    for (; i + 8 <= bytes; i += 8) {
        const __m64 va = Load64(a + i);
        const __m64 vb = Load64(b + i);
        const __m64 even = _mm_add_pi16(_mm_mullo_pi16(_mm_and_si64(va, evenMask), weightA),
                                        _mm_mullo_pi16(_mm_and_si64(vb, evenMask), weightB));
        const __m64 odd =
            _mm_add_pi16(_mm_mullo_pi16(_mm_srli_pi16(_mm_and_si64(va, oddMask), 5), weightA),
                         _mm_mullo_pi16(_mm_srli_pi16(_mm_and_si64(vb, oddMask), 5), weightB));
        const __m64 mixed =
            _mm_or_si64(_mm_and_si64(_mm_srli_pi16(even, 5), evenMask), _mm_and_si64(odd, oddMask));
        std::memcpy(target + i, &mixed, 8);
    }
    _mm_empty();
    BlendWords(a, b, target, i, bytes, weight);
}

__attribute__((target("sse2"))) void Blend24SSE2(const uint8_t* a, const uint8_t* b,
                                                 uint8_t* target, int32_t weight, int32_t height,
                                                 int32_t width) {
    const size_t bytes = BlockBytes(height, width);
    const __m128i evenMask = _mm_set1_epi32(static_cast<int>(EvenBytes));
    const __m128i oddMask = _mm_set1_epi32(static_cast<int>(OddBytes));
    const __m128i weightA = _mm_set1_epi16(static_cast<short>(32 - weight));
    const __m128i weightB = _mm_set1_epi16(static_cast<short>(weight));
    size_t i = 0;
    for (; i + 16 <= bytes; i += 16) {
        const __m128i va = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
        const __m128i vb = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
        const __m128i even = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(va, evenMask), weightA),
                                           _mm_mullo_epi16(_mm_and_si128(vb, evenMask), weightB));
        const __m128i odd =
            _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(_mm_and_si128(va, oddMask), 5), weightA),
                          _mm_mullo_epi16(_mm_srli_epi16(_mm_and_si128(vb, oddMask), 5), weightB));
        const __m128i mixed = _mm_or_si128(_mm_and_si128(_mm_srli_epi16(even, 5), evenMask),
                                           _mm_and_si128(odd, oddMask));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + i), mixed);
    }
    BlendWords(a, b, target, i, bytes, weight);
}

__attribute__((target("mmx"))) void Reduce4x4MMX(int32_t last, uint8_t* target, const uint8_t* row0,
                                                 const uint8_t* row1, const uint8_t* row2,
                                                 const uint8_t* row3) {
    if (last < 0)
        return;
    const uint8_t* rows[4] = {row0, row1, row2, row3};
    const __m64 zero = _mm_setzero_si64();
    for (int32_t i = 0; i <= last / 3; ++i) {
        // Bytes 0..3, 4..7 and 8..11 of the 4-pixel group, summed over the rows in 16-bit lanes.
        __m64 low = zero, middle = zero, high = zero;
        for (const uint8_t* row : rows) {
            const uint8_t* group = row + 12 * i;
            const __m64 head = Load64(group);
            low = _mm_add_pi16(low, _mm_unpacklo_pi8(head, zero));
            middle = _mm_add_pi16(middle, _mm_unpackhi_pi8(head, zero));
            high = _mm_add_pi16(high, _mm_unpacklo_pi8(Load32(group + 8), zero));
        }
        // Fold the pixels (bytes 0-2, 3-5, 6-8, 9-11) onto lanes 0..2.
        const __m64 pixel1 = _mm_or_si64(_mm_srli_si64(low, 48), _mm_slli_si64(middle, 16));
        const __m64 pixel2 = _mm_or_si64(_mm_srli_si64(middle, 32), _mm_slli_si64(high, 32));
        const __m64 pixel3 = _mm_srli_si64(high, 16);
        const __m64 sum = _mm_add_pi16(_mm_add_pi16(low, pixel1), _mm_add_pi16(pixel2, pixel3));
        const __m64 packed = _mm_packs_pu16(_mm_srli_pi16(sum, 4), zero);
        const uint32_t out = static_cast<uint32_t>(_mm_cvtsi64_si32(packed));
        std::memcpy(target + 3 * i, &out, 3);
    }
    _mm_empty();
}

__attribute__((target("sse2"))) void Reduce4x4SSE2(int32_t last, uint8_t* target,
                                                   const uint8_t* row0, const uint8_t* row1,
                                                   const uint8_t* row2, const uint8_t* row3) {
    if (last < 0)
        return;
    const uint8_t* rows[4] = {row0, row1, row2, row3};
    const __m128i zero = _mm_setzero_si128();
    for (int32_t i = 0; i <= last / 3; ++i) {
        // Bytes 0..7 and 8..11 of the 4-pixel group, summed over the rows in 16-bit lanes.
        __m128i low = zero, high = zero;
        for (const uint8_t* row : rows) {
            const __m128i group = Load12(row + 12 * i);
            low = _mm_add_epi16(low, _mm_unpacklo_epi8(group, zero));
            high = _mm_add_epi16(high, _mm_unpackhi_epi8(group, zero));
        }
        // Fold the pixels (bytes 0-2, 3-5, 6-8, 9-11) onto lanes 0..2.
        const __m128i pixel1 = _mm_srli_si128(low, 6);
        const __m128i pixel2 = _mm_or_si128(_mm_srli_si128(low, 12), _mm_slli_si128(high, 4));
        const __m128i pixel3 = _mm_srli_si128(high, 2);
        const __m128i sum =
            _mm_add_epi16(_mm_add_epi16(low, pixel1), _mm_add_epi16(pixel2, pixel3));
        const __m128i packed = _mm_packus_epi16(_mm_srli_epi16(sum, 4), zero);
        const uint32_t out = static_cast<uint32_t>(_mm_cvtsi128_si32(packed));
        std::memcpy(target + 3 * i, &out, 3);
    }
}

#endif

void BlendBitmaps(const QImage& a, const QImage& b, QImage& target, int32_t weight) {
    if (a.isNull() && b.isNull() && target.isNull())
        return;
    const bool formatsMatch = a.format() == QImage::Format_BGR888 &&
                              b.format() == QImage::Format_BGR888 &&
                              target.format() == QImage::Format_BGR888;
    if (!formatsMatch || a.size() != b.size() || a.size() != target.size())
        throw Exception("Cannot blend images of different sizes or pixel formats.");
    weight = std::clamp(weight, 0, 32);
    Blend24Proc(a.constBits(), b.constBits(), target.bits(), weight, a.height(), a.width());
}
