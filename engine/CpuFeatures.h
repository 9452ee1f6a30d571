#pragma once

/// Processor features that pick the sample kernels. Cleared and then set once by
/// `DetectCpuFeatures` while the program starts, before any other thread exists; only read later.
extern bool CpuHasMMX;
extern bool CpuHasMMXExt;
extern bool CpuHasSSE;
extern bool CpuHasSSE2;
extern bool CpuHas3DNow;
extern bool CpuHas3DNowExt;

/// Probes the processor and sets the six flags above. All stay false without the identification
/// instruction (every processor that is not x86).
void DetectCpuFeatures();
