#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

/// Rounding of the waveform view's pixel and frame arithmetic: halves go to the even neighbour,
/// and values beyond the 32-bit range are held at its ends, so that no conversion overflows.

/// Round to a signed 32-bit pixel position.
inline int32_t RoundPixel(double value) {
    if (std::isnan(value))
        return 0;
    return int32_t(std::clamp(std::nearbyint(value), -2147483648.0, 2147483647.0));
}

/// Trunc to a signed 32-bit pixel position.
inline int32_t TruncPixel(double value) {
    if (std::isnan(value))
        return 0;
    return int32_t(std::clamp(std::trunc(value), -2147483648.0, 2147483647.0));
}

/// Round to an unsigned 32-bit frame number or millisecond count.
inline uint32_t RoundFrame(double value) {
    if (std::isnan(value))
        return 0;
    return uint32_t(std::clamp(std::nearbyint(value), 0.0, 4294967295.0));
}
