#include "ClipboardCopy.h"

#include "TLargeFile.h"
#include "TPeakBookkeeping.h"

#include <algorithm>

std::shared_ptr<TLargeFile> ClipboardCopy::Build(const TLargeFile& table,
                                                 const Tindexdata& peakindex,
                                                 const std::string& name, int64_t start,
                                                 int64_t end) {
    auto clip = std::make_shared<TLargeFile>(name, table.Channels, table.SampleRate);
    const int64_t frameBytes = 2 * int64_t(table.Channels);
    AddPieces(table, start * frameBytes, end * frameBytes, *clip);
    clip->IndexData = TPeakBookkeeping::Range(peakindex, table.Channels, start, end);
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
