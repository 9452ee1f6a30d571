#pragma once

#include <cstdint>

/// The four registers that the processor identification instruction returns.
struct CpuidRegisters {
    uint32_t Eax = 0;
    uint32_t Ebx = 0;
    uint32_t Ecx = 0;
    uint32_t Edx = 0;
};

/// True when the processor has the identification instruction: always on x86-64; on 32-bit x86
/// when bit 21 of the flags register can be toggled; never on other processors.
bool CpuidSupported();

/// Runs the identification instruction for `leaf` (sub-leaf 0). All registers are zero when the
/// instruction is missing.
CpuidRegisters Cpuid(uint32_t leaf);
