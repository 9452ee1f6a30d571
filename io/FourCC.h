#pragma once

#include <cstdint>

/// The 32-bit id of a RIFF chunk from its four characters, the first in the lowest byte.
constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return uint32_t(uint8_t(a)) + uint32_t(uint8_t(b)) * 256u + uint32_t(uint8_t(c)) * 65536u +
           uint32_t(uint8_t(d)) * 16777216u;
}
