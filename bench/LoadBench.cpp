// Decoding a long file into a temporary sample file with its peak index, as a document load does.
// The files come from the environment (LOAD_BENCH_FILES, separated by commas); the temporary file
// goes to BENCH_DIR. Reports the process's peak resident memory beside the time.
#include "TBASSDecoder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/resource.h>

namespace {

void Load(benchmark::State& state, const std::string& file) {
    const char* dir = std::getenv("BENCH_DIR");
    const std::string temp = std::string(dir ? dir : "/tmp") + "/load-bench-out.wav";
    int64_t bytes = 0;
    for (auto _ : state) {
        TBASSDecoder decoder(file, temp);
        if (!decoder.Usable() || !decoder.DecodeToFile()) {
            state.SkipWithError("cannot load the file");
            break;
        }
        Tindexdata index;
        decoder.PeakBuilder().GetIndexData(index);
        benchmark::DoNotOptimize(index.data());
        bytes += decoder.DataSize();
    }
    std::remove(temp.c_str());
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["maxrss_MiB"] = double(usage.ru_maxrss) / 1024.0;
    state.SetBytesProcessed(bytes);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const char* files = std::getenv("LOAD_BENCH_FILES");
    std::stringstream list(files ? files : "");
    for (std::string file; std::getline(list, file, ',');)
        if (!file.empty())
            benchmark::RegisterBenchmark(("Load/" + file.substr(file.rfind('/') + 1)).c_str(), Load, file)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
