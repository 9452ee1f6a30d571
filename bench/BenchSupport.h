#pragma once

#include <array>
#include <cstdint>
#include <string>

/// Helpers shared by the benchmark programs.

/// The folder the comparison scripts prepare the data in: $BENCH_DIR, else `fallback`.
std::string BenchDir(const std::string& fallback = "/tmp");

/// The 44-byte header of a canonical 16-bit PCM WAV file holding `dataBytes` bytes of samples.
std::array<uint8_t, 44> CanonicalWavHeader(uint32_t rate, uint32_t channels, uint32_t dataBytes);

/// Runs the benchmarks chosen on the command line inside a core application whose thread is the
/// main thread, as the editor's own workers expect. Returns when all have run; `argc` and `argv`
/// lose the options the benchmark library consumed.
void RunBenchmarksOnMainThread(int& argc, char** argv);
