#include "StructuralEdits.h"

#include "AudioClipboard.h"
#include "ClipboardConverter.h"
#include "ClipboardCopy.h"
#include "Exceptions.h"
#include "TWorkerTable.h"
#include "Twavefile.h"

namespace {

/// A document, and every temporary sample file, stays below 2 GiB.
constexpr int64_t DocumentByteLimit = int64_t(1) << 31;

/// Refuses, before anything changes, an edit whose result would reach the limit.
void CheckResultSize(int64_t bytes) {
    if (bytes >= DocumentByteLimit)
        throw Exception("This edit would make the audio 2 GB or larger, more than a document can "
                        "hold. Nothing was changed.");
}

/// Bytes of `frames` frames, held at the limit for counts that would reach it anyway.
int64_t FrameBytes(int64_t frames, int32_t channels) {
    return frames >= DocumentByteLimit ? DocumentByteLimit : frames * 2 * channels;
}

bool IsRange(int64_t start, int64_t end, int64_t frames) {
    return 0 <= start && start <= end && end <= frames;
}

/// The request of delete, cut and copy: stores the range and starts the operation when the
/// document has frames and the range lies inside them.
bool StartRange(Twavefile& document, Twaveoperation code, int64_t start, int64_t end) {
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

/// The current table of a worker's document.
const TLargeFile& CurrentTable(const Twavefile& document) {
    if (!document.table)
        throw Exception("There is no audio to edit.");
    return *document.table;
}

/// Shared start of the edits that change the table: not ready, the current state onto the undo
/// stack, and an empty new table in its place, with room for `extraPieces` new pieces. Returns the
/// old table.
std::shared_ptr<TLargeFile> BeginEdit(Twavefile& document, size_t extraPieces) {
    const TLargeFile& current = CurrentTable(document);
    std::shared_ptr<TLargeFile> old = document.table;
    document.ready = false;
    document.pushundo();
    document.table =
        std::make_shared<TLargeFile>(document.filename, current.Channels, current.SampleRate);
    // Room for the old pieces, one of them split, and a few new ones.
    document.table->Chunks.reserve(current.Chunks.size() + extraPieces + 1);
    return old;
}

/// The new table's size, and the document's derived fields from it.
void EndEdit(Twavefile& document) {
    document.table->UpdateSize();
    document.updateinfo(*document.table);
}

/// Shared last step: ready, with undo available and nothing to redo.
void FinishEdit(Twavefile& document) {
    document.ready = true;
    document.doaction(true, false);
}

/// The clipboard's pieces, appended as they are, and its peak slice spliced in at `frame`.
void PastePieces(Twavefile& document, const TLargeFile& clip, int64_t frame) {
    for (const TChunk& chunk : clip.Chunks)
        document.table->Add(chunk);
    Tindexdata result;
    document.splicepeaks(clip.IndexData, clip.TotalSize / (2 * clip.Channels), result, frame,
                         frame);
    document.peakindex = std::move(result);
}

/// The clipboard converted into one new temporary file; false when the conversion yielded
/// nothing, in which case neither the table nor the peak index gets anything.
bool PasteConverted(Twavefile& document, const TLargeFile& clip, int64_t frame) {
    const TLargeFile& table = *document.table;
    ClipboardConverter::Result converted = ClipboardConverter::Convert(
        clip, table.SampleRate, table.Channels,
        [&document](int32_t percent) { document.postprogress(percent); });
    if (converted.Length == 0)
        return false;
    document.table->Add(TChunk{converted.Length, TChunk::FileBacked, converted.DataFile, 0});
    Tindexdata result;
    document.splicepeaks(converted.Index, converted.Length / (2 * table.Channels), result, frame,
                         frame);
    document.peakindex = std::move(result);
    return true;
}

bool SameFormat(const TLargeFile& a, const TLargeFile& b) {
    return a.SampleRate == b.SampleRate && a.Channels == b.Channels;
}

int64_t PastedBytes(const TLargeFile& clip, const TLargeFile& table) {
    if (SameFormat(clip, table))
        return clip.TotalSize;
    return ClipboardConverter::MaxResultBytes(clip, table.SampleRate, table.Channels);
}

} // namespace

void StructuralEdits::Register() {
    TWorkerTable::Register(opcut, [](Twavefile& document) { document.cutworker(); });
    TWorkerTable::Register(opcopy, [](Twavefile& document) { document.copyworker(); });
    TWorkerTable::Register(oppaste, [](Twavefile& document) { document.pasteworker(); });
    TWorkerTable::Register(opdelete, [](Twavefile& document) { document.deleteworker(); });
    TWorkerTable::Register(opsilence, [](Twavefile& document) { document.silenceworker(); });
}

bool Twavefile::insertsilence(int64_t frame, int64_t count) {
    if (busy)
        return false;
    startframe = frame;
    silenceframes = count;
    operation = opsilence;
    if (!table || count < 0 || !IsRange(frame, frame, frames))
        return false;
    startoperation();
    return true;
}

bool Twavefile::deleterange(int64_t start, int64_t end) {
    return StartRange(*this, opdelete, start, end);
}

bool Twavefile::cut(int64_t start, int64_t end) {
    return StartRange(*this, opcut, start, end);
}

bool Twavefile::copy(int64_t start, int64_t end) {
    return StartRange(*this, opcopy, start, end);
}

bool Twavefile::paste(int64_t frame) {
    if (busy)
        return false;
    startframe = frame;
    operation = oppaste;
    if (!table || !IsRange(frame, frame, frames))
        return false;
    startoperation();
    return true;
}

void Twavefile::silenceworker() {
    const int64_t frame = startframe;
    const int64_t count = silenceframes;
    CheckResultSize(CurrentTable(*this).TotalSize + FrameBytes(count, table->Channels));
    const std::shared_ptr<TLargeFile> old = BeginEdit(*this, 1);
    table->CopyBefore(*old, frame);
    if (count > 0)
        table->Add(TChunk{count * 2 * old->Channels, TChunk::Silence, {}, 0});
    table->CopyFrom(*old, frame);
    // Silence cannot raise the levels, so they stay.
    const int64_t blocks = (count + IndexBlockFrames - 1) / IndexBlockFrames;
    const Tindexdata silence(size_t(blocks * old->Channels), MakeIndexElement(0, 0));
    Tindexdata result;
    splicepeaks(silence, count, result, frame, frame);
    peakindex = std::move(result);
    EndEdit(*this);
    FinishEdit(*this);
}

void Twavefile::deleteworker() {
    const int64_t start = startframe;
    const int64_t end = endframe;
    const std::shared_ptr<TLargeFile> old = BeginEdit(*this, 0);
    table->CopyBefore(*old, start);
    table->CopyFrom(*old, end);
    Tindexdata result;
    splicepeaks({}, 0, result, start, end);
    peakindex = std::move(result);
    EndEdit(*this);
    updatelevels();
    FinishEdit(*this);
}

void Twavefile::copyworker() {
    ready = false;
    // The new clipboard is complete before it replaces the old one.
    AudioClipboard::Set(
        ClipboardCopy::Build(CurrentTable(*this), peakindex, filename, startframe, endframe));
    ready = true;
}

void Twavefile::cutworker() {
    copyworker();
    deleteworker();
}

void Twavefile::pasteworker() {
    const std::shared_ptr<const TLargeFile> clip = AudioClipboard::Get();
    if (!clip)
        return;
    const int64_t frame = startframe;
    CheckResultSize(CurrentTable(*this).TotalSize + PastedBytes(*clip, *table));
    const std::shared_ptr<TLargeFile> old = BeginEdit(*this, clip->Chunks.size());
    table->CopyBefore(*old, frame);
    bool inserted = false;
    if (clip->TotalSize > 0 && SameFormat(*clip, *old)) {
        PastePieces(*this, *clip, frame);
        inserted = true;
    } else if (clip->TotalSize > 0) {
        inserted = PasteConverted(*this, *clip, frame);
    }
    table->CopyFrom(*old, frame);
    EndEdit(*this);
    // Nothing pasted: the peak index and the levels stay as they were.
    if (inserted)
        updatelevels();
    FinishEdit(*this);
}
