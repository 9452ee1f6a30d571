#include "ClipboardCopy.h"

#include "TLargeFile.h"

#include <algorithm>

std::shared_ptr<TLargeFile> ClipboardCopy::Build(const TLargeFile& table,
                                                 const Tindexdata& peakindex,
                                                 const std::string& name, int64_t start,
                                                 int64_t end) {
    auto clip = std::make_shared<TLargeFile>(name, table.Channels, table.SampleRate);
    const int64_t frameBytes = 2 * int64_t(table.Channels);
    AddPieces(table, start * frameBytes, end * frameBytes, *clip);
    clip->IndexData = IndexSlice(peakindex, table.Channels, start, end);
    clip->UpdateSize();
    return clip;
}

void ClipboardCopy::AddPieces(const TLargeFile& table, int64_t from, int64_t to,
                              TLargeFile& target) {
    int64_t pieceStart = 0;
    for (const TChunk& chunk : table.Chunks) {
        const int64_t pieceEnd = pieceStart + chunk.Length;
        const int64_t first = std::max(from, pieceStart);
        const int64_t last = std::min(to, pieceEnd);
        if (first < last) {
            TChunk part = chunk;
            part.Offset = chunk.Offset + (first - pieceStart);
            part.Length = last - first;
            target.Add(part);
        }
        pieceStart = pieceEnd;
        if (pieceStart >= to)
            break;
    }
}

Tindexdata ClipboardCopy::IndexSlice(const Tindexdata& peakindex, int32_t channels, int64_t start,
                                     int64_t end) {
    const int64_t first = (start / IndexBlockFrames) * channels;
    const int64_t wanted = ((end - start) / IndexBlockFrames + 1) * channels;
    const int64_t available = std::max<int64_t>(0, int64_t(peakindex.size()) - first);
    const int64_t count = std::min(wanted, available);
    if (count <= 0)
        return {};
    return Tindexdata(peakindex.begin() + first, peakindex.begin() + first + count);
}
