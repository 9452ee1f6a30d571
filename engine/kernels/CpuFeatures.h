#pragma once

/// Processor features that pick the sample and blend kernels. Set by `DetectCpuFeatures`, which
/// each kernel choice runs while the program starts, before any other thread exists (every run
/// sets the same values); only read later.
extern bool CpuHasMMX;
extern bool CpuHasMMXExt;
extern bool CpuHasSSE;
extern bool CpuHasSSE2;
extern bool CpuHas3DNow;
extern bool CpuHas3DNowExt;

/// Probes the processor and sets the six flags above. All stay false without the identification
/// instruction (every processor that is not x86).
void DetectCpuFeatures();
