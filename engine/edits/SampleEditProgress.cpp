#include "SampleEditProgress.h"

int32_t SampleEditProgress::Percent(int64_t done, int64_t total) {
    // Documents stay below 2^31 bytes, so done × 200 cannot overflow 64 bits.
    const int64_t twice = 2 * done * 100;
    int64_t quotient = done * 100 / total;
    const int64_t remainder2 = twice - 2 * quotient * total; // 2 × (done × 100 mod total)
    if (remainder2 > total || (remainder2 == total && quotient % 2 != 0))
        ++quotient;
    return static_cast<int32_t>(quotient);
}

int32_t SampleEditProgress::Fade(int64_t frame, int64_t n) {
    return Percent(frame + 1, n);
}

int32_t SampleEditProgress::Gain(int64_t frame, int64_t n) {
    return Percent(frame + 1, n);
}

int32_t SampleEditProgress::Reverse(int64_t frame, int64_t n) {
    return Percent(frame + 1, n);
}

int32_t SampleEditProgress::Invert(int64_t frame, int64_t n) {
    return Percent(frame, n);
}

void SampleEditProgress::PostRange(Rule rule, int64_t first, int64_t last, int64_t n,
                                   const Post& post) {
    int64_t frame = first;
    while (frame < last) {
        const int32_t value = rule(frame, n);
        post(value);
        // The rules never decrease: find the first later frame with another value.
        int64_t low = frame + 1;
        int64_t high = last;
        while (low < high) {
            const int64_t middle = low + (high - low) / 2;
            if (rule(middle, n) == value)
                low = middle + 1;
            else
                high = middle;
        }
        frame = low;
    }
}
