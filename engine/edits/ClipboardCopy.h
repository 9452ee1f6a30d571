#pragma once

#include "Tindexdata.h"

#include <cstdint>
#include <memory>
#include <string>

class TLargeFile;

/// Builds the clipboard's table for a frame range of a document: references to the pieces that
/// cover the range (the first one's tail, the pieces inside whole, the last one's head; silence
/// stays silence) and the range's own peak index, taken from the document's. Reads no samples.
class ClipboardCopy {
public:
    /// The table of frames start … end − 1 of `table` (0 ≤ start ≤ end ≤ frames), named `name`,
    /// with the document's rate and channels. Its `IndexData` is on the range's own grid from
    /// `start`: each block the union of the document's blocks that hold its frames.
    static std::shared_ptr<TLargeFile> Build(const TLargeFile& table, const Tindexdata& peakindex,
                                             const std::string& name, int64_t start, int64_t end);

private:
    static void AddPieces(const TLargeFile& table, int64_t from, int64_t to, TLargeFile& target);
};
