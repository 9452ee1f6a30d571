#pragma once

#include <cstdint>

/// The number of processors this process may run on (its affinity mask), at least 1.
int32_t AvailableProcessorCount();
