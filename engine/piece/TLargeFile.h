#pragma once

#include "TDataFile.h"
#include "TIndexFile.h"
#include "Tindexdata.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

/// One piece of a piece table: a run of bytes in a sample data file, or a run of silence. Copies
/// of a piece share its data file, which lives as long as any of them.
struct TChunk {
    static constexpr int32_t FileBacked = 1;
    static constexpr int32_t Silence = 2;

    int64_t Length = 0; ///< bytes; a whole number of frames
    int32_t Kind = FileBacked;
    std::shared_ptr<const TDataFile> DataFile; ///< none for silence
    int64_t Offset = 0; ///< byte offset of the piece's first byte in DataFile
};

/// A piece table: one state of a document's audio, as an ordered list of pieces over temporary
/// sample files that are never changed. Positions are bytes of signed 16-bit little-endian
/// interleaved PCM; frame f starts at byte f × 2 × Channels.
///
/// A table is built once (constructor, appends, UpdateSize) and then only read. Samples are read
/// through a 512 KiB window that each table owns, so a table is used by one thread at a time;
/// the data files themselves may be read by any number of tables at once, through the
/// descriptors their TDataFile holds. Bulk reads of whole spans go straight into the caller's
/// buffer. `ReleaseWindow` frees the window of a table that waits on a stack; the next read
/// allocates it again. The last five fields carry a snapshot's peak state on the undo and redo
/// stacks.
class TLargeFile {
public:
    static constexpr int64_t WindowSize = 524288;

    TLargeFile(std::string name, int32_t channels, int32_t sampleRate);
    TLargeFile(const TLargeFile&) = delete;
    TLargeFile& operator=(const TLargeFile&) = delete;

    /// A table of one piece: `length` bytes of a decoded file, starting after its 44-byte header.
    static std::unique_ptr<TLargeFile> CreateWithFile(std::string name,
                                                      std::shared_ptr<const TDataFile> dataFile,
                                                      int64_t length, int32_t channels,
                                                      int32_t sampleRate);

    /// Appends the pieces that cover the source's frames 0 … frame − 1.
    void CopyBefore(const TLargeFile& source, int64_t frame);
    /// Appends the pieces that cover the source's frames from `frame` to its end.
    void CopyFrom(const TLargeFile& source, int64_t frame);
    void Add(const TChunk& chunk) { Chunks.push_back(chunk); }
    /// Sets TotalSize to the sum of the pieces; every builder calls it after its last append.
    void UpdateSize();

    /// The sample whose first byte is at `position` (even, below TotalSize). A position outside
    /// the table reads 0. Raises EReadError when a data file cannot be read.
    int16_t ReadAt(int64_t position) {
        if (static_cast<uint64_t>(position - WindowStart) < WindowSampleStarts) [[likely]] {
            int16_t sample;
            std::memcpy(&sample,
                        reinterpret_cast<const uint8_t*>(WindowOrigin + uint64_t(position)),
                        sizeof sample);
            return sample;
        }
        return ReadOutsideWindow(position);
    }

    /// Copies `bytes` bytes of the table from `position` on; bytes past the end read as zeros.
    void Read(int64_t position, void* buffer, int64_t bytes);

    int64_t Frames() const { return TotalSize / (2 * Channels); }

    /// Frees the read window and leaves it empty; the owner's thread, between reads.
    void ReleaseWindow();
    /// True while the read window is allocated.
    bool HoldsWindow() const { return WindowBuffer != nullptr; }

    std::vector<TChunk> Chunks;
    int64_t WindowStart = -1; ///< table position of the window's first byte; −1 when empty
    int64_t WindowEnd = -1;   ///< table position of the window's last byte; −1 when empty
    int64_t TotalSize = 0;
    std::string FileName;
    int32_t Channels;
    int32_t SampleRate;

    Tindexdata IndexData;
    TIndexFile ParkedIndex; ///< `IndexData` of a table on a stack, kept in the temporary folder
    int16_t ChannelPeaks[8] = {};
    int16_t Peak = 0;
    double LevelDb = 0.0;

private:
    int16_t ReadOutsideWindow(int64_t position);
    /// Loads the window from `position`; false when no piece holds it.
    bool Refill(int64_t position);
    /// Copies up to `bytes` bytes from `position` on, from one piece; returns the count copied, 0
    /// at or past the end of the table.
    int64_t ReadSpan(int64_t position, uint8_t* out, int64_t bytes);
    /// Copies up to `bytes` bytes of the piece `index` (table position `start`) from `position`
    /// on into `buffer`, bytes the data file lacks as zeros; returns the count copied.
    int64_t ReadPiece(int64_t index, int64_t start, int64_t position, uint8_t* buffer,
                      int64_t bytes);
    /// Index of the piece that holds `position`, or −1; `start` receives its table position.
    int64_t FindChunk(int64_t position, int64_t& start);

    std::unique_ptr<uint8_t[]> WindowBuffer;
    uint64_t WindowBytes = 0;
    /// Window offsets at which a whole sample starts: WindowBytes − 1, or 0 for an empty window.
    uint64_t WindowSampleStarts = 0;
    /// The address that table position 0 would have in the window: adding a position inside the
    /// window gives its byte. Kept as an integer, as it may point outside the buffer.
    uintptr_t WindowOrigin = 0;
    std::vector<int64_t> ChunkStarts;
};
