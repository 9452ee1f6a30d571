#include "TLargeFile.h"

#include <algorithm>

namespace {

/// Reads of at least this many bytes outside the window skip it.
constexpr int64_t DirectReadBytes = 65536;

} // namespace

TLargeFile::TLargeFile(std::string name, int32_t channels, int32_t sampleRate)
    : FileName(std::move(name))
    , Channels(channels)
    , SampleRate(sampleRate) {}

std::unique_ptr<TLargeFile> TLargeFile::CreateWithFile(std::string name,
                                                       std::shared_ptr<const TDataFile> dataFile,
                                                       int64_t length, int32_t channels,
                                                       int32_t sampleRate) {
    auto table = std::make_unique<TLargeFile>(std::move(name), channels, sampleRate);
    table->Add(TChunk{length, TChunk::FileBacked, std::move(dataFile), 44});
    table->UpdateSize();
    return table;
}

void TLargeFile::CopyBefore(const TLargeFile& source, int64_t frame) {
    const int64_t p = frame * 2 * Channels;
    int64_t start = 0;
    for (const TChunk& chunk : source.Chunks) {
        if (start <= p && p <= start + chunk.Length) {
            if (p > start) {
                TChunk head = chunk;
                head.Length = p - start;
                Add(head);
            }
            return;
        }
        Add(chunk);
        start += chunk.Length;
    }
}

void TLargeFile::CopyFrom(const TLargeFile& source, int64_t frame) {
    const int64_t p = frame * 2 * Channels;
    int64_t start = 0;
    size_t i = 0;
    for (; i < source.Chunks.size(); ++i) {
        const TChunk& chunk = source.Chunks[i];
        if (start <= p && p <= start + chunk.Length) {
            if (p < start + chunk.Length) {
                TChunk tail = chunk;
                tail.Length = chunk.Length - (p - start);
                tail.Offset = chunk.Offset + (p - start);
                Add(tail);
            }
            break;
        }
        start += chunk.Length;
    }
    for (++i; i < source.Chunks.size(); ++i)
        Add(source.Chunks[i]);
}

void TLargeFile::UpdateSize() {
    ChunkStarts.clear();
    ChunkStarts.reserve(Chunks.size());
    TotalSize = 0;
    for (const TChunk& chunk : Chunks) {
        ChunkStarts.push_back(TotalSize);
        TotalSize += chunk.Length;
    }
}

int64_t TLargeFile::FindChunk(int64_t position, int64_t& start) {
    if (ChunkStarts.size() != Chunks.size())
        UpdateSize();
    if (position < 0 || position >= TotalSize)
        return -1;
    const auto after = std::upper_bound(ChunkStarts.begin(), ChunkStarts.end(), position);
    const int64_t index = (after - ChunkStarts.begin()) - 1;
    start = ChunkStarts[size_t(index)];
    return index;
}

int64_t TLargeFile::ReadPiece(int64_t index, int64_t start, int64_t position, uint8_t* buffer,
                              int64_t bytes) {
    const TChunk& chunk = Chunks[size_t(index)];
    const int64_t count = std::min(chunk.Length - (position - start), bytes);
    int64_t got = 0;
    if (chunk.Kind == TChunk::FileBacked)
        got = chunk.DataFile->ReadAt(chunk.Offset + (position - start), buffer, count);
    // Bytes that the data file does not have read as silence, never as old buffer bytes.
    std::memset(buffer + got, 0, size_t(count - got));
    return count;
}

bool TLargeFile::Refill(int64_t position) {
    int64_t start = 0;
    const int64_t index = FindChunk(position, start);
    if (index < 0)
        return false;
    if (!WindowBuffer)
        WindowBuffer = std::make_unique<uint8_t[]>(WindowSize);
    WindowStart = WindowEnd = -1;
    WindowBytes = WindowSampleStarts = 0;
    const int64_t count = ReadPiece(index, start, position, WindowBuffer.get(), WindowSize);
    WindowStart = position;
    WindowEnd = position + count - 1;
    WindowBytes = uint64_t(count);
    WindowSampleStarts = count > 0 ? uint64_t(count - 1) : 0;
    WindowOrigin = reinterpret_cast<uintptr_t>(WindowBuffer.get()) - uint64_t(position);
    return true;
}

void TLargeFile::ReleaseWindow() {
    WindowBuffer.reset();
    WindowStart = WindowEnd = -1;
    WindowBytes = WindowSampleStarts = 0;
    WindowOrigin = 0;
}

int16_t TLargeFile::ReadOutsideWindow(int64_t position) {
    if (!Refill(position))
        return 0;
    int16_t sample;
    std::memcpy(&sample, WindowBuffer.get(), sizeof sample);
    return sample;
}

void TLargeFile::Read(int64_t position, void* buffer, int64_t bytes) {
    auto* out = static_cast<uint8_t*>(buffer);
    while (bytes > 0) {
        const int64_t n = ReadSpan(position, out, bytes);
        if (n == 0) { // past the end
            std::memset(out, 0, size_t(bytes));
            return;
        }
        out += n;
        position += n;
        bytes -= n;
    }
}

int64_t TLargeFile::ReadSpan(int64_t position, uint8_t* out, int64_t bytes) {
    if (static_cast<uint64_t>(position - WindowStart) >= WindowBytes) {
        if (bytes >= DirectReadBytes) {
            // A long span goes straight from the piece into the caller's buffer, without the
            // copy through the window; the window keeps what it holds.
            int64_t start = 0;
            const int64_t index = FindChunk(position, start);
            return index < 0 ? 0 : ReadPiece(index, start, position, out, bytes);
        }
        if (!Refill(position))
            return 0;
    }
    const auto at = static_cast<uint64_t>(position - WindowStart);
    const int64_t n = std::min<int64_t>(bytes, int64_t(WindowBytes - at));
    std::memcpy(out, WindowBuffer.get() + at, size_t(n));
    return n;
}
