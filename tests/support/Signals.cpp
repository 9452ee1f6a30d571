#include "Signals.h"

#include <cmath>
#include <numbers>
#include <random>

std::vector<int16_t> Ramp(size_t count, int64_t start, int64_t step, int64_t span) {
    std::vector<int16_t> samples(count);
    for (size_t i = 0; i < count; ++i)
        samples[i] = int16_t(start + int64_t(i) * step % span);
    return samples;
}

std::vector<int16_t> Sine(int64_t frames, double frequency, int32_t rate, int32_t channels,
                          double amplitude) {
    std::vector<int16_t> samples;
    samples.reserve(size_t(frames * channels));
    for (int64_t f = 0; f < frames; ++f) {
        const double v = amplitude * std::sin(2 * std::numbers::pi * frequency * double(f) / rate);
        for (int32_t c = 0; c < channels; ++c)
            samples.push_back(int16_t(std::lround(v)));
    }
    return samples;
}

std::vector<int16_t> Harmonics(int64_t frames, double frequency, int32_t rate, int32_t channels,
                               double amplitude) {
    std::vector<int16_t> samples(size_t(frames) * size_t(channels));
    for (int64_t f = 0; f < frames; ++f)
        for (int32_t c = 0; c < channels; ++c)
            samples[size_t(f) * size_t(channels) + size_t(c)] =
                int16_t(std::lround(amplitude * std::sin(2 * std::numbers::pi * frequency *
                                                         double(c + 1) * double(f) / rate)));
    return samples;
}

std::vector<int16_t> UniformNoise(size_t count, uint32_t seed, int low, int high) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> sample(low, high);
    std::vector<int16_t> samples(count);
    for (int16_t& s : samples)
        s = int16_t(sample(random));
    return samples;
}

std::vector<int16_t> RawNoise(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<int16_t> samples(count);
    for (int16_t& s : samples)
        s = int16_t(random());
    return samples;
}

std::vector<int16_t> LcgNoise(int32_t frames, int32_t channels, int32_t amplitude) {
    std::vector<int16_t> samples(size_t(frames) * size_t(channels));
    uint32_t state = 12345;
    for (int16_t& s : samples) {
        state = state * 1664525u + 1013904223u;
        s = int16_t(int32_t(state >> 16) % (2 * amplitude + 1) - amplitude);
    }
    return samples;
}
