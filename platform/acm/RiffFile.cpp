#include "RiffFile.h"

#include "FileIo.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uint64_t LargestFile = 0xFFFFFFFFull;
constexpr size_t BufferCapacity = 256 * 1024;
constexpr uint32_t RiffId = 'R' | ('I' << 8) | ('F' << 16) | (uint32_t('F') << 24);

} // namespace

std::unique_ptr<RiffFile> RiffFile::Open(const std::string& name, uint32_t flags) {
    int mode = O_CLOEXEC | ((flags & MMIO_READWRITE) ? O_RDWR : O_WRONLY);
    if (flags & MMIO_CREATE)
        mode |= O_CREAT | O_TRUNC;
    const int descriptor = ::open(name.c_str(), mode, 0666);
    if (descriptor < 0)
        return nullptr;
    std::unique_ptr<RiffFile> file(new RiffFile(descriptor));
    struct stat status {};
    if (::fstat(descriptor, &status) == 0)
        file->FileSize = uint64_t(status.st_size);
    return file;
}

RiffFile::RiffFile(int descriptor)
    : Descriptor(descriptor) {
    Buffer.reserve(BufferCapacity);
}

RiffFile::~RiffFile() {
    if (Descriptor >= 0) {
        // What was written stays on disk, with the sizes it had; a failure here has no one
        // left to tell.
        WriteBuffer();
        ::close(Descriptor);
    }
}

uint32_t RiffFile::CreateChunk(MMCKINFO& ck, uint32_t flags) {
    const bool riff = flags & MMIO_CREATERIFF;
    uint32_t header[3] = {riff ? RiffId : ck.ckid, ck.cksize, ck.fccType};
    if (riff)
        ck.ckid = RiffId;
    const int32_t bytes = riff ? 12 : 8;
    ck.dwDataOffset = uint32_t(Position + 8);
    ck.dwFlags = 0;
    return Put(header, uint64_t(bytes)) ? 0 : MMIOERR_CANNOTWRITE;
}

int32_t RiffFile::Write(const void* data, int32_t bytes) {
    if (bytes < 0 || !Put(data, uint64_t(bytes)))
        return -1;
    return bytes;
}

bool RiffFile::Put(const void* data, uint64_t bytes) {
    if (Descriptor < 0)
        return false;
    if (Position + bytes > LargestFile) {
        LastError = EFBIG;
        return false;
    }
    if (!Buffer.empty() && Position != BufferStart + Buffer.size() && !WriteBuffer())
        return false;
    if (Buffer.size() + bytes > BufferCapacity && !WriteBuffer())
        return false;
    if (Buffer.empty())
        BufferStart = Position;
    const auto* source = static_cast<const uint8_t*>(data);
    if (bytes >= BufferCapacity) {
        if (!WriteAt(Position, source, bytes))
            return false;
    } else {
        Buffer.insert(Buffer.end(), source, source + bytes);
    }
    Position += bytes;
    return true;
}

uint32_t RiffFile::Ascend(MMCKINFO& ck, uint32_t /*flags*/) {
    if (Descriptor < 0 || Position < ck.dwDataOffset)
        return MMIOERR_CANNOTSEEK;
    const uint64_t size = Position - ck.dwDataOffset;
    if (size & 1) {
        const uint8_t pad = 0;
        if (!Put(&pad, 1))
            return MMIOERR_CANNOTEXPAND;
    }
    if (size != ck.cksize) {
        const uint32_t field = uint32_t(size);
        if (!WriteBuffer() || !WriteAt(ck.dwDataOffset - 4, &field, 4))
            return MMIOERR_CANNOTWRITE;
        ck.cksize = field;
        ck.dwFlags |= MMIO_DIRTY;
    }
    return 0;
}

int64_t RiffFile::Seek(int64_t offset, int32_t origin) {
    if (Descriptor < 0 || !WriteBuffer())
        return -1;
    int64_t base = 0;
    if (origin == 1)
        base = int64_t(Position);
    else if (origin == 2)
        base = EndPosition();
    else if (origin != 0)
        return -1;
    const int64_t target = base + offset;
    if (target < 0 || uint64_t(target) > LargestFile)
        return -1;
    Position = uint64_t(target);
    return target;
}

uint32_t RiffFile::Close() {
    if (Descriptor < 0)
        return MMIOERR_CANNOTWRITE;
    const bool flushed = WriteBuffer();
    const bool closed = ::close(Descriptor) == 0;
    if (!closed)
        LastError = errno;
    Descriptor = -1;
    return flushed && closed ? 0 : MMIOERR_CANNOTWRITE;
}

uint32_t RiffFile::Flush() {
    return Descriptor >= 0 && WriteBuffer() ? 0 : MMIOERR_CANNOTWRITE;
}

bool RiffFile::WriteBuffer() {
    if (Buffer.empty())
        return true;
    const bool written = WriteAt(BufferStart, Buffer.data(), Buffer.size());
    Buffer.clear();
    return written;
}

bool RiffFile::WriteAt(uint64_t position, const void* data, uint64_t bytes) {
    const FileIoResult written = WriteAllAt(Descriptor, int64_t(position), data, int64_t(bytes));
    if (written.Error != 0) {
        LastError = written.Error;
        return false;
    }
    FileSize = std::max(FileSize, position + bytes);
    return true;
}

int64_t RiffFile::EndPosition() const {
    return int64_t(std::max(FileSize, BufferStart + Buffer.size()));
}
