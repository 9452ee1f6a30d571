// The processor probe against the flags that the Linux kernel reports, and the kernel choice
// that follows from it.
#include "CpuFeatures.h"
#include "Simd.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

std::set<std::string> KernelCpuFlags() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line))
        if (line.rfind("flags", 0) == 0) {
            std::istringstream words(line.substr(line.find(':') + 1));
            std::set<std::string> flags;
            std::string word;
            while (words >> word)
                flags.insert(word);
            return flags;
        }
    return {};
}

#if defined(__i386__) || defined(__x86_64__)

TEST(CpuFeatures, AgreeWithTheKernelsFlags) {
    const std::set<std::string> flags = KernelCpuFlags();
    if (flags.empty())
        GTEST_SKIP() << "/proc/cpuinfo lists no flags";
    DetectCpuFeatures();
    EXPECT_EQ(CpuHasMMX, flags.count("mmx") == 1);
    // Basic leaf 1 bit 22 is named "acpi" by the kernel (Intel); AMD's own bit is "mmxext".
    EXPECT_EQ(CpuHasMMXExt, flags.count("acpi") == 1 || flags.count("mmxext") == 1);
    EXPECT_EQ(CpuHasSSE, flags.count("sse") == 1);
    EXPECT_EQ(CpuHasSSE2, flags.count("sse2") == 1);
    EXPECT_EQ(CpuHas3DNow, flags.count("3dnow") == 1);
    EXPECT_EQ(CpuHas3DNowExt, flags.count("3dnowext") == 1);
}

TEST(CpuFeatures, KernelChoiceFollowsTheFlags) {
    SelectKernels();
    if (CpuHasSSE2) {
        EXPECT_EQ(MinMax16Proc, &MinMax16SSE2);
        EXPECT_EQ(FloatToPcm16Proc, &convertFromFloat_SSE2);
    } else {
        EXPECT_EQ(MinMax16Proc, &MinMax16MMX);
        EXPECT_EQ(FloatToPcm16Proc, CpuHasSSE ? &convertFromFloat_SSE : &convertFromFloat);
    }
}

#else

TEST(CpuFeatures, OtherProcessorsUsePlainKernels) {
    SelectKernels();
    EXPECT_FALSE(CpuHasMMX || CpuHasSSE || CpuHasSSE2);
    EXPECT_EQ(MinMax16Proc, &MinMax16Plain);
    EXPECT_EQ(FloatToPcm16Proc, &convertFromFloat);
}

#endif

} // namespace
