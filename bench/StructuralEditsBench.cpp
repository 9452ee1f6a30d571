// Structural edits through the document and its operation runner: a converting paste of one hour
// of 44.1 kHz stereo into a 48 kHz document (structuraledits.sh times sox on the same file in the
// same run), and delete and paste on a table of 10,000 pieces, which copy piece records only.
#include "AudioClipboard.h"
#include "BenchSupport.h"
#include "Settings.h"
#include "StructuralEdits.h"
#include "TLargeFile.h"
#include "TempFileList.h"
#include "Twavefile.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <numbers>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int64_t HourFrames = int64_t(3600) * 44100;

std::string HourPath() {
    return BenchDir() + "/hour-44100-stereo.wav";
}

/// One hour of a 1 kHz / 1.5 kHz stereo tone as a canonical WAV file, made once.
void MakeHourFile() {
    if (access(HourPath().c_str(), R_OK) == 0)
        return;
    const uint32_t data = uint32_t(HourFrames * 4);
    const auto header = CanonicalWavHeader(44100, 2, data);
    const int fd = open(HourPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || write(fd, header.data(), header.size()) != ssize_t(header.size()))
        std::abort();
    // 44100 frames repeat exactly: 1 kHz and 1.5 kHz both fit whole periods into one second.
    std::vector<int16_t> second(44100 * 2);
    for (size_t f = 0; f < 44100; ++f) {
        second[2 * f] = int16_t(12000 * std::sin(2 * std::numbers::pi * 1000 * f / 44100));
        second[2 * f + 1] = int16_t(9000 * std::sin(2 * std::numbers::pi * 1500 * f / 44100));
    }
    for (int s = 0; s < 3600; ++s)
        if (write(fd, second.data(), second.size() * 2) != ssize_t(second.size() * 2))
            std::abort();
    close(fd);
}

void ConvertingPasteOfOneHour(benchmark::State& state) {
    MakeHourFile();
    Settings.tempfolder = BenchDir() + "/";
    StructuralEdits::Register();
    AudioClipboard::Set(TLargeFile::CreateWithFile("hour.wav", TDataFile::Open(HourPath()),
                                                   HourFrames * 4, 2, 44100));
    for (auto _ : state) {
        Twavefile document;
        document.createnew("untitled.tmp", 48000, 2, 16);
        if (!document.paste(0) || document.frames != uint32_t(HourFrames * 48000 / 44100))
            state.SkipWithError("the paste did not give one hour at 48 kHz");
        state.PauseTiming();
        TempFiles.DeleteAll();
        state.ResumeTiming();
    }
    AudioClipboard::Free();
    state.SetBytesProcessed(state.iterations() * HourFrames * 4);
}
// The work runs on the operation's thread, so only the wall clock counts.
BENCHMARK(ConvertingPasteOfOneHour)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

/// A document whose table has `pieces` pieces of 1,000 stereo frames of one file, at offsets
/// that differ, with a peak index of the right length.
std::unique_ptr<Twavefile> ManyPieces(int64_t pieces) {
    MakeHourFile();
    auto document = std::make_unique<Twavefile>();
    document->createnew("many.wav", 44100, 2, 16);
    auto table = std::make_shared<TLargeFile>("many.wav", 2, 44100);
    const auto hour = TDataFile::Open(HourPath());
    for (int64_t i = 0; i < pieces; ++i)
        table->Add(TChunk{4000, TChunk::FileBacked, hour, 44 + (i * 7919 % 100000) * 4});
    table->UpdateSize();
    document->table = table;
    document->updateinfo(*table);
    document->peakindex.assign(size_t((document->frames + 511) / 512 * 2), MakeIndexElement(9, -9));
    return document;
}

/// The worker alone on the calling thread, then the same request through the operation runner
/// (thread start, modal wait, events); each edit is undone outside the timing.
void EditOnTenThousandPieces(benchmark::State& state, bool throughRunner, bool paste) {
    StructuralEdits::Register();
    auto document = ManyPieces(10000);
    const int64_t middle = document->frames / 2;
    AudioClipboard::Set(nullptr);
    if (paste && !document->copy(middle - 3210, middle + 4321))
        state.SkipWithError("copy did not start");
    for (auto _ : state) {
        document->startframe = middle - 1234;
        document->endframe = middle + 56789;
        if (throughRunner)
            paste ? document->paste(middle) : document->deleterange(middle - 1234, middle + 56789);
        else
            paste ? document->pasteworker() : document->deleteworker();
        state.PauseTiming();
        document->ready = true;
        document->undo();
        state.ResumeTiming();
    }
    state.counters["pieces"] = double(document->table->Chunks.size());
    AudioClipboard::Free();
}
BENCHMARK_CAPTURE(EditOnTenThousandPieces, DeleteWorker, false, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EditOnTenThousandPieces, PasteWorker, false, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EditOnTenThousandPieces, DeleteRequest, true, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(EditOnTenThousandPieces, PasteRequest, true, true)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    RunBenchmarksOnMainThread(argc, argv);
    TempFiles.DeleteAll();
    return 0;
}
