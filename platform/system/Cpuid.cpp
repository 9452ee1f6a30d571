#include "Cpuid.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

bool CpuidSupported() {
#if defined(__x86_64__)
    return true;
#elif defined(__i386__)
    // Asking for the highest basic leaf first toggles the flags register's bit 21 and answers 0
    // when the bit does not move.
    return __get_cpuid_max(0, nullptr) != 0;
#else
    return false;
#endif
}

CpuidRegisters Cpuid(uint32_t leaf) {
    CpuidRegisters r;
#if defined(__i386__) || defined(__x86_64__)
    if (CpuidSupported())
        __cpuid_count(leaf, 0, r.Eax, r.Ebx, r.Ecx, r.Edx);
#else
    (void)leaf;
#endif
    return r;
}
