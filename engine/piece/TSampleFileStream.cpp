#include "TSampleFileStream.h"

#include "Exceptions.h"
#include "FileIo.h"
#include "TempFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& fileName) {
    const size_t slash = fileName.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : fileName.substr(0, slash);
}

bool IsNoSpace(int error) {
    return error == ENOSPC || error == EDQUOT;
}

} // namespace

TSampleFileStream::TSampleFileStream(const std::string& fileName, int64_t expectedBytes)
    : Name(fileName) {
    const long long free = FreeSpaceOf(FolderOf(fileName));
    if (free >= 0 && expectedBytes > free)
        throw Exception(NoSpaceText);
    Handle = open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (Handle < 0)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    // Reserving the blocks at once makes each append far cheaper than allocating them write by
    // write. Only a hint: where the file system cannot reserve, the writes allocate as usual.
    if (expectedBytes > 0 && fallocate(Handle, FALLOC_FL_KEEP_SIZE, 0, expectedBytes) == 0)
        Reserved = expectedBytes;
}

TSampleFileStream::~TSampleFileStream() {
    if (Handle >= 0)
        close(Handle);
}

void TSampleFileStream::Write(const void* data, int64_t bytes) {
    if (Handle < 0)
        throw EWriteError("Stream write error: \"" + Name + "\" is closed.");
    // A write that stores nothing without an error has run out of room: that reads as ENOSPC.
    const FileIoResult written = WriteAll(Handle, data, bytes);
    Position += written.Bytes;
    if (written.Error != 0)
        Fail(written.Error);
}

void TSampleFileStream::Close() {
    if (Handle < 0)
        return;
    // Blocks reserved past what was written go back to the volume: cutting the file at its own
    // size frees them.
    if (Reserved > Position && ftruncate(Handle, Position) != 0)
        Fail(errno);
    const int handle = Handle;
    Handle = -1;
    if (close(handle) != 0)
        Fail(errno);
}

void TSampleFileStream::Fail(int error) const {
    if (IsNoSpace(error))
        throw Exception(NoSpaceText);
    throw EWriteError("Stream write error: \"" + Name + "\". " + std::strerror(error));
}
