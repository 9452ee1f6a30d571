#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

/// Generated 16-bit test signals, interleaved where they have channels. Each generator gives the
/// same samples on every run (the noises from a fixed seed), so that a test's data never changes.

/// `count` samples of a sawtooth that climbs by `step` from `start` and falls back by `span`
/// whenever it would reach start + span: sample i = start + (i × step mod span), wrapped round the
/// 16-bit range.
std::vector<int16_t> Ramp(size_t count, int64_t start, int64_t step, int64_t span = 65536);

/// `frames` frames of a sine of `frequency` Hz at `rate` with peak `amplitude`, the same in every
/// one of `channels` channels, rounded to the nearest integer.
std::vector<int16_t> Sine(int64_t frames, double frequency, int32_t rate, int32_t channels,
                          double amplitude);

/// `frames` frames of sines with peak `amplitude`: channel c at `frequency` × (c + 1) Hz.
std::vector<int16_t> Harmonics(int64_t frames, double frequency, int32_t rate, int32_t channels,
                               double amplitude);

/// `count` samples drawn uniformly from `low` … `high` by a std::mt19937 seeded with `seed`.
std::vector<int16_t> UniformNoise(size_t count, uint32_t seed, int low = -32768, int high = 32767);

/// `count` samples that are the low 16 bits of successive std::mt19937 numbers from `seed`.
std::vector<int16_t> RawNoise(size_t count, uint32_t seed);

/// `frames` × `channels` samples of a linear congruential generator (always the same seed),
/// uniform within ±`amplitude`: cheap noise for encoders, with no std::mt19937 behind it.
std::vector<int16_t> LcgNoise(int32_t frames, int32_t channels, int32_t amplitude);
