#include "CpuFeatures.h"

#include "Cpuid.h"

#include <cstdint>

bool CpuHasMMX = false;
bool CpuHasMMXExt = false;
bool CpuHasSSE = false;
bool CpuHasSSE2 = false;
bool CpuHas3DNow = false;
bool CpuHas3DNowExt = false;

namespace {

constexpr uint32_t ExtendedBase = 0x80000000;

bool BasicEdxBit(int bit) {
    return (Cpuid(1).Edx >> bit) & 1;
}

/// Bit of extended leaf 0x80000001's EDX, asked only when the processor has that leaf.
bool ExtendedEdxBit(int bit) {
    if (Cpuid(ExtendedBase).Eax <= ExtendedBase)
        return false;
    return (Cpuid(ExtendedBase + 1).Edx >> bit) & 1;
}

} // namespace

void DetectCpuFeatures() {
    CpuHasMMX = CpuHasMMXExt = CpuHasSSE = CpuHasSSE2 = CpuHas3DNow = CpuHas3DNowExt = false;
    if (!CpuidSupported())
        return;
    CpuHasMMX = BasicEdxBit(23);
    // Intel reports the extended multimedia instructions with SSE; AMD names them in its own leaf.
    CpuHasMMXExt = BasicEdxBit(22) || ExtendedEdxBit(22);
    CpuHasSSE = BasicEdxBit(25);
    CpuHasSSE2 = BasicEdxBit(26);
    CpuHas3DNow = ExtendedEdxBit(31);
    CpuHas3DNowExt = ExtendedEdxBit(30);
}
