#pragma once

#include <cstdint>
#include <functional>

/// The progress rules of the sample-processing edits, as pure functions of the frame being
/// processed, and the posting of their distinct values.
///
/// Every rule gives done × 100 / n rounded to the nearest integer, ties to even, computed exactly
/// in 64-bit integers, so the percentage reaches 100 on documents of any size the program holds
/// (a single-precision or 32-bit counter stalls or wraps there). `frame` counts from 0; `n` is the
/// number of frames processed and at least 1.
class SampleEditProgress {
public:
    using Rule = int32_t (*)(int64_t frame, int64_t n);
    using Post = std::function<void(int32_t percent)>;

    /// done × 100 / total, rounded to the nearest integer, ties to even; total ≥ 1.
    static int32_t Percent(int64_t done, int64_t total);

    /// Fade, shown before frame k: (k + 1) × 100 / n.
    static int32_t Fade(int64_t frame, int64_t n);
    /// Gain, shown after frame k: (k + 1) × 100 / n.
    static int32_t Gain(int64_t frame, int64_t n);
    /// Reverse, shown after frame k: (k + 1) × 100 / n.
    static int32_t Reverse(int64_t frame, int64_t n);
    /// Invert, shown after frame i: i × 100 / n.
    static int32_t Invert(int64_t frame, int64_t n);

    /// Calls `post` with the values of `rule` for frames first … last − 1, in frame order, each
    /// time the value differs from the one before it (the first frame always posts). This is the
    /// sequence a per-frame loop posts, at the cost of a few calls per percent, so workers call it
    /// once per block of frames.
    static void PostRange(Rule rule, int64_t first, int64_t last, int64_t n, const Post& post);
};
