#pragma once

#include <string>

/// Seconds as a time of day, "h:nn:ss.zzz" (hours without a leading zero), to the nearest
/// millisecond; whole days wrap away, so 25 hours show as "1:00:00.000".
std::string TimeOfDay(double seconds);
