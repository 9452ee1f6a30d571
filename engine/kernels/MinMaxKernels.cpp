#include "MinMaxKernels.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#include <mmintrin.h>
#include <xmmintrin.h>
#endif

void MinMax16Plain(const int16_t* data, int32_t count, int16_t& min, int16_t& max) {
    int16_t lo = 32767;
    int16_t hi = 0;
    const int32_t scanned = count > 0 ? count / 16 * 16 : 0;
    for (int32_t i = 0; i < scanned; ++i) {
        lo = std::min(lo, data[i]);
        hi = std::max(hi, data[i]);
    }
    min = lo;
    max = hi;
}

#if defined(__i386__) || defined(__x86_64__)

namespace {

__attribute__((target("mmx,sse"))) inline __m64 LoadUnaligned64(const int16_t* p) {
    __m64 v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

} // namespace

__attribute__((target("mmx,sse"))) void MinMax16LanesMMX(const int16_t* data, int32_t count,
                                                         int16_t (&lo)[4], int16_t (&hi)[4]) {
    __m64 low = _mm_set1_pi16(32767);
    __m64 high = _mm_setzero_si64();
    const int32_t steps = count / 16;
    const int16_t* p = data;
    for (int32_t i = 0; i < steps; ++i, p += 16) {
        // A prefetch never faults, so it may look past the end of the data.
        _mm_prefetch(reinterpret_cast<const char*>(reinterpret_cast<uintptr_t>(p) + 1024),
                     _MM_HINT_NTA);
        // The four registers are paired first, so only one step per iteration waits on the
        // accumulators.
        const __m64 a = LoadUnaligned64(p);
        const __m64 b = LoadUnaligned64(p + 4);
        const __m64 c = LoadUnaligned64(p + 8);
        const __m64 d = LoadUnaligned64(p + 12);
        low = _mm_min_pi16(low, _mm_min_pi16(_mm_min_pi16(a, b), _mm_min_pi16(c, d)));
        high = _mm_max_pi16(high, _mm_max_pi16(_mm_max_pi16(a, b), _mm_max_pi16(c, d)));
    }
    std::memcpy(lo, &low, sizeof(lo));
    std::memcpy(hi, &high, sizeof(hi));
    _mm_sfence();
    _mm_empty();
}

void MinMax16MMX(const int16_t* data, int32_t count, int16_t& min, int16_t& max) {
    int16_t lo[4];
    int16_t hi[4];
    MinMax16LanesMMX(data, count, lo, hi);
    min = *std::min_element(std::begin(lo), std::end(lo));
    max = *std::max_element(std::begin(hi), std::end(hi));
}

__attribute__((target("sse2"))) void MinMax16SSE2(const int16_t* data, int32_t count, int16_t& min,
                                                  int16_t& max) {
    __m128i lo = _mm_set1_epi16(32767);
    __m128i hi = _mm_setzero_si128();
    const int32_t steps = count / 32;
    const int16_t* p = data;
    for (int32_t i = 0; i < steps; ++i, p += 32) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 24));
        lo = _mm_min_epi16(lo, _mm_min_epi16(_mm_min_epi16(a, b), _mm_min_epi16(c, d)));
        hi = _mm_max_epi16(hi, _mm_max_epi16(_mm_max_epi16(a, b), _mm_max_epi16(c, d)));
    }
    lo = _mm_min_epi16(lo, _mm_srli_si128(lo, 8));
    lo = _mm_min_epi16(lo, _mm_srli_si128(lo, 4));
    lo = _mm_min_epi16(lo, _mm_srli_si128(lo, 2));
    hi = _mm_max_epi16(hi, _mm_srli_si128(hi, 8));
    hi = _mm_max_epi16(hi, _mm_srli_si128(hi, 4));
    hi = _mm_max_epi16(hi, _mm_srli_si128(hi, 2));
    min = static_cast<int16_t>(_mm_cvtsi128_si32(lo));
    max = static_cast<int16_t>(_mm_cvtsi128_si32(hi));
    _mm_sfence();
}

#endif
