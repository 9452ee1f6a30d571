#include "SampleEdits.h"

#include "Exceptions.h"
#include "FileIo.h"
#include "GainKernels.h"
#include "SampleEditProgress.h"
#include "Simd.h"
#include "TBlockHandOff.h"
#include "TDataFile.h"
#include "TFadeCurve.h"
#include "TFilter.h"
#include "TGainTable.h"
#include "TMappedFile.h"
#include "TPeakBookkeeping.h"
#include "TSampleFileStream.h"
#include "TWorkerTable.h"
#include "Twavefile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

/// Bytes before the samples of a mapped result file; they are never written.
constexpr int64_t MappedHeaderBytes = 44;

/// Frames read at a time when unchanged frames go to the peak builder.
constexpr int64_t FeedFrames = 16384;

/// Frames read at a time by the scan for the true peak: large reads, few calls.
constexpr int64_t PeakScanFrames = 131072;

bool IsRange(int64_t start, int64_t end, int64_t frames) {
    return 0 <= start && start < end && end <= frames;
}

/// The request of both fades: stores the range and starts the operation when it is a range of at
/// least one frame inside the document.
bool StartFade(Twavefile& document, Twaveoperation code, int64_t start, int64_t end) {
    if (document.busy)
        return false;
    document.startframe = start;
    document.endframe = end;
    document.operation = code;
    if (!document.table || document.frames == 0 || !IsRange(start, end, document.frames))
        return false;
    document.startoperation();
    return true;
}

/// The request of normalise and amplify, after they stored their own arguments.
bool StartGain(Twavefile& document, float gain) {
    document.startframe = 0;
    document.endframe = document.frames;
    document.operation = opgain;
    if (!document.table || document.frames == 0 || document.peak < 1)
        return false;
    document.gain = gain;
    document.startoperation();
    return true;
}

bool StartWhole(Twavefile& document, Twaveoperation code) {
    if (document.busy)
        return false;
    document.operation = code;
    if (!document.table || document.frames == 0)
        return false;
    document.startoperation();
    return true;
}

/// The worker's check of the range it is given, before anything changes.
void CheckRange(const Twavefile& document, int64_t start, int64_t end) {
    if (!document.table)
        throw Exception("There is no audio to edit.");
    if (!IsRange(start, end, document.frames))
        throw Exception("The range to process (frames " + std::to_string(start) + " to " +
                        std::to_string(end) + ") is not inside the audio. Nothing was changed.");
}

/// Shared start of every edit here: not ready, the current state onto the undo stack. Returns
/// the old table, which the worker reads.
std::shared_ptr<TLargeFile> BeginEdit(Twavefile& document) {
    std::shared_ptr<TLargeFile> old = document.table;
    document.ready = false;
    document.pushundo();
    return old;
}

/// Shared end: ready, with undo available and nothing to redo.
void FinishEdit(Twavefile& document) {
    document.ready = true;
    document.doaction(true, false);
}

SampleEditProgress::Post Poster(Twavefile& document) {
    return [&document](int32_t percent) { document.postprogress(percent); };
}

/// Feeds frames first … last − 1 of `table`, unchanged, to the builder.
void FeedUnchanged(TLargeFile& table, TFilter& builder, int64_t first, int64_t last) {
    const int32_t channels = table.Channels;
    std::vector<int16_t> samples(size_t(FeedFrames * channels));
    for (int64_t frame = first; frame < last; frame += FeedFrames) {
        const int64_t count = std::min(FeedFrames, last - frame) * channels;
        table.Read(frame * 2 * channels, samples.data(), count * 2);
        builder.Feed(samples.data(), count);
    }
}

/// The largest sample magnitude of frames first … last − 1 (−32768 counts as 32767).
int16_t SamplePeak(TLargeFile& table, int64_t first, int64_t last) {
    const int32_t channels = table.Channels;
    std::vector<int16_t> samples(size_t(PeakScanFrames * channels));
    int16_t peak = 0;
    for (int64_t frame = first; frame < last; frame += PeakScanFrames) {
        const int64_t count = std::min(PeakScanFrames, last - frame) * channels;
        table.Read(frame * 2 * channels, samples.data(), count * 2);
        int16_t min = 0;
        int16_t max = 0;
        MinMaxMono(samples.data(), int32_t(count), min, max);
        peak = std::max({peak, PeakMagnitude(min), PeakMagnitude(max)});
    }
    return peak;
}

/// The document's new table: the old one with frames start … end − 1 replaced by the headerless
/// result file `dataFile`.
void ReplaceRange(Twavefile& document, const TLargeFile& old, int64_t start, int64_t end,
                  const std::shared_ptr<const TDataFile>& dataFile) {
    auto table = std::make_shared<TLargeFile>(document.filename, old.Channels, old.SampleRate);
    table->CopyBefore(old, start);
    table->Add(TChunk{(end - start) * 2 * old.Channels, TChunk::FileBacked, dataFile, 0});
    table->CopyFrom(old, end);
    table->UpdateSize();
    document.table = table;
    document.updateinfo(*table);
}

/// The document's new table: one piece, the whole mapped result file after its 44 bytes.
void WholeFile(Twavefile& document, const TLargeFile& old,
               const std::shared_ptr<const TDataFile>& dataFile) {
    auto table = std::make_shared<TLargeFile>(document.filename, old.Channels, old.SampleRate);
    table->Add(TChunk{old.TotalSize, TChunk::FileBacked, dataFile, MappedHeaderBytes});
    table->UpdateSize();
    document.table = table;
    document.updateinfo(*table);
}

/// Frames per step of reverse and invert: one read window of the table.
int64_t MappedStepFrames(int32_t channels) {
    return TLargeFile::WindowSize / (2 * channels);
}

/// Stores `bytes` bytes at file offset `position` of the mapped result file. The file was
/// created at its full size with its space reserved, so this is a plain positional write: on a
/// virtual machine a write through mapped views costs a page fault for every 4 KiB, many times
/// the cost of copying the same bytes into the file.
void WriteAt(TMappedFile& file, const std::string& name, int64_t position, const void* data,
             int64_t bytes) {
    const int error = WriteAllAt(file.FileHandle, position, data, bytes).Error;
    if (error == 0)
        return;
    if (error == ENOSPC || error == EDQUOT)
        throw Exception(TSampleFileStream::NoSpaceText);
    throw EWriteError("Stream write error: \"" + name + "\". " + std::strerror(error));
}

/// Stores `frames` frames of `in` into `out` in reverse frame order; channel order stays.
template <int32_t FrameBytes>
void ReverseFrames(const uint8_t* in, uint8_t* out, int64_t frames, int32_t frameBytes) {
    const int32_t size = FrameBytes > 0 ? FrameBytes : frameBytes;
    uint8_t* to = out + (frames - 1) * size;
    for (int64_t k = 0; k < frames; ++k, in += size, to -= size)
        std::memcpy(to, in, size_t(size));
}

void ReverseFrames(const int16_t* in, int16_t* reversed, int64_t frames, int32_t channels) {
    const auto* from = reinterpret_cast<const uint8_t*>(in);
    auto* out = reinterpret_cast<uint8_t*>(reversed);
    switch (channels) {
    case 1:
        return ReverseFrames<2>(from, out, frames, 2);
    case 2:
        return ReverseFrames<4>(from, out, frames, 4);
    case 4:
        return ReverseFrames<8>(from, out, frames, 8);
    default:
        return ReverseFrames<0>(from, out, frames, 2 * channels);
    }
}

/// Negates samples in 16 bits: −32768 stays −32768.
void InvertSamples(const int16_t* in, int16_t* out, int64_t count) {
    for (int64_t i = 0; i < count; ++i)
        out[i] = static_cast<int16_t>(0u - static_cast<uint16_t>(in[i]));
}

/// Frees the gain table however the gain worker ends.
class GainTableScope {
public:
    explicit GainTableScope(std::vector<int16_t>& table)
        : Table(table) {}
    ~GainTableScope() { std::vector<int16_t>().swap(Table); }
    GainTableScope(const GainTableScope&) = delete;
    GainTableScope& operator=(const GainTableScope&) = delete;

private:
    std::vector<int16_t>& Table;
};

} // namespace

void SampleEdits::Register() {
    TWorkerTable::Register(opgain, [](Twavefile& document) { document.gainworker(); });
    TWorkerTable::Register(opfadein, [](Twavefile& document) { document.fadeworker(); });
    TWorkerTable::Register(opfadeout, [](Twavefile& document) { document.fadeworker(); });
    TWorkerTable::Register(opreverse, [](Twavefile& document) { document.reverseworker(); });
    TWorkerTable::Register(opinvert, [](Twavefile& document) { document.invertworker(); });
}

bool Twavefile::fadein(int64_t start, int64_t end) {
    return StartFade(*this, opfadein, start, end);
}

bool Twavefile::fadeout(int64_t start, int64_t end) {
    return StartFade(*this, opfadeout, start, end);
}

bool Twavefile::normalize(int32_t percent) {
    if (busy)
        return false;
    normalizepercent = percent;
    gainfrompeak = true;
    return StartGain(*this, peak < 1 ? 0.0f : TGainTable::NormalizeGain(percent, peak));
}

bool Twavefile::amplify(int32_t percent) {
    if (busy)
        return false;
    amplifypercent = percent;
    gainfrompeak = false;
    return StartGain(*this, TGainTable::AmplifyGain(percent));
}

bool Twavefile::reverse() {
    return StartWhole(*this, opreverse);
}

bool Twavefile::invert() {
    return StartWhole(*this, opinvert);
}

void Twavefile::fadeworker() {
    const int64_t s = startframe;
    const int64_t e = endframe;
    CheckRange(*this, s, e);
    const bool fadeIn = operation == opfadein;
    const std::shared_ptr<TLargeFile> old = BeginEdit(*this);
    const int32_t ch = old->Channels;
    const int64_t n = e - s;
    const std::shared_ptr<const TDataFile> file = TDataFile::CreateTemporary();
    const std::string& name = file->Path();
    TSampleFileStream stream(name, n * 2 * ch);
    TFilter builder(ch);
    // The builder starts at the first frame of the peak block that holds s.
    const int64_t a = s - s % IndexBlockFrames;
    FeedUnchanged(*old, builder, a, s);
    {
        TBlockHandOff output(ch, stream, builder);
        TFadeCurve curve(fadeIn, n);
        std::vector<int16_t> input(size_t(TBlockHandOff::BlockFrames) * size_t(ch));
        for (int64_t k = 0; k < n;) {
            const std::span<int16_t> room = output.Room();
            const int64_t m = std::min<int64_t>(int64_t(room.size()) / ch, n - k);
            old->Read((s + k) * 2 * ch, input.data(), m * 2 * ch);
            SampleEditProgress::PostRange(SampleEditProgress::Fade, k, k + m, n, Poster(*this));
            curve.Apply(input.data(), room.data(), m, ch);
            output.Commit(m * ch);
            k += m;
        }
        output.Finish();
    }
    // The rest of the peak block that holds the last faded frame, unchanged.
    const int64_t blockEnd = (e + IndexBlockFrames - 1) / IndexBlockFrames * IndexBlockFrames;
    FeedUnchanged(*old, builder, e, std::min<int64_t>(blockEnd, frames));
    Tindexdata part;
    builder.GetIndexData(part);
    Tindexdata result;
    replacepeaks(part, result, a);
    peakindex = std::move(result);
    ReplaceRange(*this, *old, s, e, file);
    updatelevels();
    FinishEdit(*this);
}

void Twavefile::gainworker() {
    const int64_t s = startframe;
    const int64_t e = endframe;
    CheckRange(*this, s, e);
    if (gainfrompeak) {
        const int16_t truePeak = SamplePeak(*table, s, e);
        // Silence has no level to normalise to: nothing changes.
        if (truePeak < 1)
            return;
        gain = TGainTable::NormalizeGain(normalizepercent, truePeak);
    }
    const std::shared_ptr<TLargeFile> old = BeginEdit(*this);
    const int32_t ch = old->Channels;
    const int64_t n = e - s;
    const GainTableScope tableScope(gaintable);
    TGainTable::Build(gain, gaintable);
    const std::shared_ptr<const TDataFile> file = TDataFile::CreateTemporary();
    const std::string& name = file->Path();
    TSampleFileStream stream(name, n * 2 * ch);
    TFilter builder(ch);
    {
        TBlockHandOff output(ch, stream, builder);
        const int16_t* lookup = gaintable.data() + 32768;
        const GainKernels& kernels = BestGainKernels();
        for (int64_t k = 0; k < n;) {
            const std::span<int16_t> room = output.Room();
            const int64_t m = std::min<int64_t>(int64_t(room.size()) / ch, n - k);
            int16_t* samples = room.data();
            old->Read((s + k) * 2 * ch, samples, m * 2 * ch);
            kernels.Apply(lookup, gain, samples, samples, m * ch);
            output.Commit(m * ch);
            SampleEditProgress::PostRange(SampleEditProgress::Gain, k, k + m, n, Poster(*this));
            k += m;
        }
        output.Finish();
    }
    Tindexdata part;
    builder.GetIndexData(part);
    Tindexdata result;
    replacepeaks(part, result, s);
    peakindex = std::move(result);
    updatelevels();
    ReplaceRange(*this, *old, s, e, file);
    FinishEdit(*this);
}

void Twavefile::reverseworker() {
    CheckRange(*this, 0, frames);
    const std::shared_ptr<TLargeFile> old = BeginEdit(*this);
    const int64_t n = frames;
    endframe = n;
    startframe = 0;
    const int32_t ch = old->Channels;
    const std::shared_ptr<const TDataFile> result = TDataFile::CreateTemporary();
    const std::string& name = result->Path();
    TMappedFile file(name, uint32_t(MappedHeaderBytes + old->TotalSize));
    const int64_t step = MappedStepFrames(ch);
    std::vector<int16_t> input(size_t(step * ch));
    std::vector<int16_t> output(size_t(step * ch));
    for (int64_t i = 0; i < n; i += step) {
        const int64_t m = std::min(step, n - i);
        old->Read(i * 2 * ch, input.data(), m * 2 * ch);
        ReverseFrames(input.data(), output.data(), m, ch);
        // Input frames i … i + m − 1 land, reversed, at output frames n − i − m … n − i − 1.
        WriteAt(file, name, MappedHeaderBytes + (n - i - m) * 2 * ch, output.data(), m * 2 * ch);
        SampleEditProgress::PostRange(SampleEditProgress::Reverse, i, i + m, n, Poster(*this));
    }
    file.Close();
    WholeFile(*this, *old, result);
    // No sample value changes, so the levels stay; each new block keeps the extremes of the old
    // blocks its frames came from.
    peakindex = TPeakBookkeeping::Reverse(peakindex, n, ch);
    FinishEdit(*this);
}

void Twavefile::invertworker() {
    CheckRange(*this, 0, frames);
    const std::shared_ptr<TLargeFile> old = BeginEdit(*this);
    const int64_t n = frames;
    endframe = n;
    startframe = 0;
    const int32_t ch = old->Channels;
    const std::shared_ptr<const TDataFile> result = TDataFile::CreateTemporary();
    const std::string& name = result->Path();
    TMappedFile file(name, uint32_t(MappedHeaderBytes + old->TotalSize));
    TFilter builder(ch);
    const int64_t step = MappedStepFrames(ch);
    std::vector<int16_t> samples(size_t(step * ch));
    for (int64_t i = 0; i < n; i += step) {
        const int64_t m = std::min(step, n - i);
        old->Read(i * 2 * ch, samples.data(), m * 2 * ch);
        InvertSamples(samples.data(), samples.data(), m * ch);
        WriteAt(file, name, MappedHeaderBytes + i * 2 * ch, samples.data(), m * 2 * ch);
        // The index is built from the samples as written: where a block holds −32768, which
        // stays, its extremes are not the old extremes negated.
        builder.Feed(samples.data(), m * ch);
        SampleEditProgress::PostRange(SampleEditProgress::Invert, i, i + m, n, Poster(*this));
    }
    file.Close();
    WholeFile(*this, *old, result);
    builder.GetIndexData(peakindex);
    updatelevels();
    FinishEdit(*this);
}
