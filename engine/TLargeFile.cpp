#include "TLargeFile.h"

#include "Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

/// Reads up to `count` bytes at `offset`; returns the bytes read (fewer only at the end of file).
int64_t ReadFileAt(const std::string& path, int64_t offset, uint8_t* buffer, int64_t count) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    int64_t done = 0;
    while (done < count) {
        const ssize_t got = pread(fd, buffer + done, size_t(count - done), offset + done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            const int error = errno;
            close(fd);
            throw EReadError("Stream read error: \"" + path + "\". " + std::strerror(error));
        }
        if (got == 0)
            break;
        done += got;
    }
    close(fd);
    return done;
}

} // namespace

TLargeFile::TLargeFile(std::string name, int32_t channels, int32_t sampleRate)
    : FileName(std::move(name))
    , Channels(channels)
    , SampleRate(sampleRate) {}

std::unique_ptr<TLargeFile> TLargeFile::CreateWithFile(std::string name, std::string dataFile,
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

bool TLargeFile::Refill(int64_t position) {
    int64_t start = 0;
    const int64_t index = FindChunk(position, start);
    if (index < 0)
        return false;
    const TChunk& chunk = Chunks[size_t(index)];
    const int64_t count = std::min(chunk.Length - (position - start), WindowSize);
    if (!WindowBuffer)
        WindowBuffer = std::make_unique<uint8_t[]>(WindowSize);
    int64_t got = 0;
    if (chunk.Kind == TChunk::FileBacked) {
        WindowStart = WindowEnd = -1;
        WindowBytes = 0;
        got = ReadFileAt(chunk.DataFile, chunk.Offset + (position - start), WindowBuffer.get(),
                         count);
    }
    // Bytes that the data file does not have read as silence, never as old window bytes.
    std::memset(WindowBuffer.get() + got, 0, size_t(count - got));
    WindowStart = position;
    WindowEnd = position + count - 1;
    WindowBytes = uint64_t(count);
    return true;
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
        const uint64_t offset = static_cast<uint64_t>(position - WindowStart);
        if (offset >= WindowBytes && !Refill(position)) {
            std::memset(out, 0, size_t(bytes));
            return;
        }
        const uint64_t at = static_cast<uint64_t>(position - WindowStart);
        const int64_t n = std::min<int64_t>(bytes, int64_t(WindowBytes - at));
        std::memcpy(out, WindowBuffer.get() + at, size_t(n));
        out += n;
        position += n;
        bytes -= n;
    }
}
