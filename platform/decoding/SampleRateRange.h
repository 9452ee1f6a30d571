#pragma once

#include <cstdint>

// The sample rates the program works with. Every rate in this range loads, plays and saves as
// PCM; a file at any other rate is refused when it is opened, and a new document must use one.
inline constexpr uint32_t MinSampleRate = 100;
inline constexpr uint32_t MaxSampleRate = 384000;
