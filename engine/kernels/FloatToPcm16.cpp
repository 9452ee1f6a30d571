#include "FloatToPcm16.h"

#include <cmath>
#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#include <mmintrin.h>
#include <xmmintrin.h>
#endif

namespace {

constexpr float Scale = 32768.0f;
constexpr float Lowest = -32768.0f;
constexpr float Highest = 32767.0f;

int16_t ConvertOne(float value) {
    float v = value * Scale;
    if (std::isnan(v))
        return 0;
    v = std::fmin(std::fmax(v, Lowest), Highest);
    return static_cast<int16_t>(std::lrint(v));
}

void ConvertPlain(const float* source, int16_t* destination, int32_t count) {
    for (int32_t i = 0; i < count; ++i)
        destination[i] = ConvertOne(source[i]);
}

} // namespace

int32_t convertFromFloat(const float* source, int16_t* destination, uint8_t width, int32_t count) {
    if (width != 2 || count <= 0)
        return 0;
    ConvertPlain(source, destination, count);
    return count;
}

#if defined(__i386__) || defined(__x86_64__)

__attribute__((target("mmx,sse"))) int32_t
convertFromFloat_SSE(const float* source, int16_t* destination, uint8_t width, int32_t count) {
    if (width != 2 || count <= 0)
        return 0;
    const int32_t vectorCount = count / 4 * 4;
    const __m128 scale = _mm_set1_ps(Scale);
    const __m128 lowest = _mm_set1_ps(Lowest);
    const __m128 highest = _mm_set1_ps(Highest);
    for (int32_t i = 0; i < vectorCount; i += 4) {
        __m128 v = _mm_mul_ps(_mm_loadu_ps(source + i), scale);
        v = _mm_and_ps(v, _mm_cmpord_ps(v, v)); // NaN lanes become +0
        v = _mm_min_ps(_mm_max_ps(v, lowest), highest);
        // Converts with the processor's rounding mode, then packs; the clamp above keeps the
        // pack from saturating.
        const __m64 packed = _mm_cvtps_pi16(v);
        std::memcpy(destination + i, &packed, sizeof(packed));
    }
    _mm_empty();
    ConvertPlain(source + vectorCount, destination + vectorCount, count - vectorCount);
    return count;
}

__attribute__((target("sse2"))) int32_t
convertFromFloat_SSE2(const float* source, int16_t* destination, uint8_t width, int32_t count) {
    if (width != 2 || count <= 0)
        return 0;
    const int32_t vectorCount = count / 8 * 8;
    const __m128 scale = _mm_set1_ps(Scale);
    const __m128 lowest = _mm_set1_ps(Lowest);
    const __m128 highest = _mm_set1_ps(Highest);
    for (int32_t i = 0; i < vectorCount; i += 8) {
        __m128 a = _mm_mul_ps(_mm_loadu_ps(source + i), scale);
        __m128 b = _mm_mul_ps(_mm_loadu_ps(source + i + 4), scale);
        a = _mm_and_ps(a, _mm_cmpord_ps(a, a));
        b = _mm_and_ps(b, _mm_cmpord_ps(b, b));
        a = _mm_min_ps(_mm_max_ps(a, lowest), highest);
        b = _mm_min_ps(_mm_max_ps(b, lowest), highest);
        const __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), packed);
    }
    ConvertPlain(source + vectorCount, destination + vectorCount, count - vectorCount);
    return count;
}

#endif
