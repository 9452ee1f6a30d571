#include "TestDocument.h"

#include "Exceptions.h"
#include "IMessageBox.h"
#include "MainThreadDispatcher.h"
#include "TDataFile.h"
#include "UserInterface.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace {

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = uint8_t(value >> (8 * i));
}

void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
    bytes[at] = uint8_t(value);
    bytes[at + 1] = uint8_t(value >> 8);
}

uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint16_t Get16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

void FailLoad(Twavefile& document) {
    UserInterface::MessageBox("Could not import audio file. Format not supported or file broken",
                              "File Loading Error!", MB_OK | MB_ICONEXCLAMATION);
    document.loadfailed = true;
    document.thread->ReturnValue = CThread::Failed;
}

} // namespace

void WriteSampleFile(const std::string& path, int32_t channels, int32_t sampleRate,
                     const std::vector<int16_t>& samples) {
    const uint32_t data = uint32_t(samples.size() * 2);
    std::vector<uint8_t> bytes(44 + data);
    std::memcpy(&bytes[0], "RIFF", 4);
    Put32(bytes, 4, 36 + data);
    std::memcpy(&bytes[8], "WAVEfmt ", 8);
    Put32(bytes, 16, 16);
    Put16(bytes, 20, 1);
    Put16(bytes, 22, uint16_t(channels));
    Put32(bytes, 24, uint32_t(sampleRate));
    Put32(bytes, 28, uint32_t(sampleRate * channels * 2));
    Put16(bytes, 32, uint16_t(channels * 2));
    Put16(bytes, 34, 16);
    std::memcpy(&bytes[36], "data", 4);
    Put32(bytes, 40, data);
    for (size_t i = 0; i < samples.size(); ++i)
        Put16(bytes, 44 + 2 * i, uint16_t(samples[i]));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

Tindexdata PlainPeakIndex(const std::vector<int16_t>& samples, int32_t channels) {
    Tindexdata index;
    const size_t frames = samples.size() / size_t(channels);
    for (size_t first = 0; first < frames; first += IndexBlockFrames) {
        const size_t last = std::min(frames, first + size_t(IndexBlockFrames));
        for (int32_t c = 0; c < channels; ++c) {
            int16_t high = -32768;
            int16_t low = 32767;
            for (size_t f = first; f < last; ++f) {
                high = std::max(high, samples[f * channels + c]);
                low = std::min(low, samples[f * channels + c]);
            }
            index.push_back(MakeIndexElement(high, low));
        }
    }
    return index;
}

void SampleFileLoadWorker(Twavefile& document) {
    std::ifstream in(document.filename, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (bytes.size() < 44 || std::memcmp(&bytes[0], "RIFF", 4) != 0 ||
        std::memcmp(&bytes[8], "WAVEfmt ", 8) != 0 || Get16(&bytes[20]) != 1 ||
        Get16(&bytes[34]) != 16 || Get16(&bytes[22]) == 0) {
        FailLoad(document);
        return;
    }
    UserInterface::PostProgress(50);
    const int32_t channels = Get16(&bytes[22]);
    const int32_t rate = int32_t(Get32(&bytes[24]));
    std::vector<int16_t> samples((bytes.size() - 44) / 2);
    std::memcpy(samples.data(), &bytes[44], samples.size() * 2);
    document.tempname = document.filename;
    document.table =
        TLargeFile::CreateWithFile(document.filename, TDataFile::Open(document.tempname),
                                   int64_t(samples.size() * 2), channels, rate);
    document.updateinfo(*document.table);
    document.peakindex = PlainPeakIndex(samples, channels);
    document.updatelevels();
    document.table->IndexData = document.peakindex;
    UserInterface::PostProgress(100);
}

ScopedWorker::ScopedWorker(Twaveoperation code, TWorker worker)
    : Code(code) {
    TWorkerTable::Register(code, std::move(worker));
}

ScopedWorker::~ScopedWorker() {
    TWorkerTable::Unregister(Code);
}

SavedWorkers::SavedWorkers() {
    for (int32_t code = opnone; code <= opinvert; ++code)
        Workers[Twaveoperation(code)] = TWorkerTable::Find(Twaveoperation(code));
}

SavedWorkers::~SavedWorkers() {
    for (const auto& [code, worker] : Workers) {
        if (worker)
            TWorkerTable::Register(code, worker);
        else
            TWorkerTable::Unregister(code);
    }
}

EventLog::EventLog(Twavefile& document) {
    document.OnAction = [this](Twavefile&, bool canUndo, bool canRedo) {
        if (!MainThreadDispatcher::IsMainThread())
            throw std::logic_error("OnAction off the main thread");
        Events.push_back("action(" + std::to_string(canUndo) + "," + std::to_string(canRedo) + ")");
    };
    document.OnReady = [this](Twavefile&, bool ready) {
        if (!MainThreadDispatcher::IsMainThread())
            throw std::logic_error("OnReady off the main thread");
        Events.push_back("ready(" + std::to_string(ready) + ")");
    };
    document.OnLoaded = [this](Twavefile&, bool success) {
        if (!MainThreadDispatcher::IsMainThread())
            throw std::logic_error("OnLoaded off the main thread");
        Events.push_back("loaded(" + std::to_string(success) + ")");
    };
}

std::vector<int16_t> TableSamples(TLargeFile& table) {
    std::vector<int16_t> samples(size_t(table.TotalSize / 2));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = table.ReadAt(int64_t(2 * i));
    return samples;
}
