#include "TimeOfDay.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

std::string TimeOfDay(double seconds) {
    constexpr int64_t MsPerDay = 86400000;
    int64_t ms = std::llround(seconds * 1000.0) % MsPerDay;
    if (ms < 0)
        ms += MsPerDay;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d.%03d", static_cast<int>(ms / 3600000),
                  static_cast<int>(ms / 60000 % 60), static_cast<int>(ms / 1000 % 60),
                  static_cast<int>(ms % 1000));
    return text;
}
