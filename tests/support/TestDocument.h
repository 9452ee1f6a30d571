#pragma once

#include "TWorkerTable.h"
#include "Tindexdata.h"
#include "Twavefile.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

/// Writes a temporary sample file: a canonical 44-byte WAV header and 16-bit PCM samples.
void WriteSampleFile(const std::string& path, int32_t channels, int32_t sampleRate,
                     const std::vector<int16_t>& samples);

/// The peak index of interleaved samples, computed plainly: per block of 512 frames and channel
/// the maximum and minimum sample.
Tindexdata PlainPeakIndex(const std::vector<int16_t>& samples, int32_t channels);

/// A load worker for tests that reads an existing temporary sample file without decoding: the
/// document's table is the file's data, its peak index is `PlainPeakIndex`. Posts progress 50 and
/// 100 the way a decoder does (without `progress`). A file without a valid 16-bit PCM header fails
/// the way a load fails: a message box, `loadfailed`, return value 0.
void SampleFileLoadWorker(Twavefile& document);

/// Registers a worker for one code while it lives and removes it again.
class ScopedWorker {
public:
    ScopedWorker(Twaveoperation code, TWorker worker);
    ~ScopedWorker();
    ScopedWorker(const ScopedWorker&) = delete;
    ScopedWorker& operator=(const ScopedWorker&) = delete;

private:
    Twaveoperation Code;
};

/// Keeps the worker table as it was: every code's worker is noted when this is made and put back
/// (or removed again) when it goes, so that a test's registrations never reach the next test.
class SavedWorkers {
public:
    SavedWorkers();
    ~SavedWorkers();
    SavedWorkers(const SavedWorkers&) = delete;
    SavedWorkers& operator=(const SavedWorkers&) = delete;

private:
    std::map<Twaveoperation, TWorker> Workers;
};

/// Records a document's events as text: "action(1,0)", "ready(1)", "loaded(0)".
class EventLog {
public:
    explicit EventLog(Twavefile& document);
    std::vector<std::string> Events;
};

/// All samples of a table, read through ReadAt.
std::vector<int16_t> TableSamples(TLargeFile& table);
