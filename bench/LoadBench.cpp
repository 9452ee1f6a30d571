// Loading a long file into a document through the operation runner: decoding into a temporary
// sample file, the peak index and levels, as opening a file does. The files come from the
// environment (LOAD_BENCH_FILES, separated by commas); temporary files go to BENCH_DIR. Reports
// the process's peak resident memory beside the time.
#include "BenchSupport.h"
#include "MainThreadDispatcher.h"
#include "Settings.h"
#include "TLoadWorker.h"
#include "TempFileList.h"
#include "Twavefile.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/resource.h>

namespace {

void Load(benchmark::State& state, const std::string& file) {
    int64_t bytes = 0;
    for (auto _ : state) {
        Twavefile document;
        document.loadfile(file);
        if (document.loadfailed || !document.ready) {
            state.SkipWithError("cannot load the file");
            break;
        }
        bytes += document.size;
        state.PauseTiming();
        document.closefile();
        TempFiles.DeleteAll();
        state.ResumeTiming();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["maxrss_MiB"] = double(usage.ru_maxrss) / 1024.0;
    state.SetBytesProcessed(bytes);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    MainThreadDispatcher::SetMainThread();
    benchmark::Initialize(&argc, argv);
    Settings.tempfolder = BenchDir() + "/";
    TLoadWorker::Register();
    const char* files = std::getenv("LOAD_BENCH_FILES");
    std::stringstream list(files ? files : "");
    for (std::string file; std::getline(list, file, ',');)
        if (!file.empty())
            benchmark::RegisterBenchmark(("Load/" + file.substr(file.rfind('/') + 1)).c_str(), Load,
                                         file)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(1)
                ->UseRealTime();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
