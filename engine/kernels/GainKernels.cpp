#include "GainKernels.h"

#include "FadeKernels.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

void PlainApply(const int16_t* lookup, float /*gain*/, const int16_t* in, int16_t* out,
                int64_t count) {
    for (int64_t i = 0; i < count; ++i)
        out[i] = lookup[in[i]];
}

#if defined(__x86_64__)

/// Four samples times the gain: exact in double precision (16 by 24 significant bits), rounded to
/// nearest with ties to even and clipped to −32767 … 32767, as the table's entries are.
__attribute__((target("avx"))) __m128i ScaleFour(__m128i samples, __m256d gain) {
    constexpr int Nearest = _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC;
    const __m256d product = _mm256_mul_pd(_mm256_cvtepi32_pd(samples), gain);
    const __m256d rounded = _mm256_round_pd(product, Nearest);
    const __m256d clipped =
        _mm256_min_pd(_mm256_max_pd(rounded, _mm256_set1_pd(-32767.0)), _mm256_set1_pd(32767.0));
    return _mm256_cvttpd_epi32(clipped);
}

__attribute__((target("avx"))) void AvxApply(const int16_t* lookup, float gain, const int16_t* in,
                                             int16_t* out, int64_t count) {
    const __m256d factor = _mm256_set1_pd(double(gain));
    int64_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i samples = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
        const __m128i low = _mm_srai_epi32(_mm_unpacklo_epi16(samples, samples), 16);
        const __m128i high = _mm_srai_epi32(_mm_unpackhi_epi16(samples, samples), 16);
        const __m128i packed = _mm_packs_epi32(ScaleFour(low, factor), ScaleFour(high, factor));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), packed);
    }
    PlainApply(lookup, gain, in + i, out + i, count - i);
}

#endif

} // namespace

const GainKernels PlainGainKernels{PlainApply};

#if defined(__x86_64__)
const GainKernels AvxGainKernels{AvxApply};
#endif

const GainKernels& BestGainKernels() {
#if defined(__x86_64__)
    if (HasAvx())
        return AvxGainKernels;
#endif
    return PlainGainKernels;
}
