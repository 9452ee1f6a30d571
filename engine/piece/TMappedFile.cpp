#include "TMappedFile.h"

#include "Exceptions.h"
#include "Settings.h"
#include "TempFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <numeric>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const char* const NoSpace = "There is not enough memory or disk space to complete the operation.";

uint32_t AllocationGranularity() {
    return static_cast<uint32_t>(std::lcm<long>(65536, sysconf(_SC_PAGESIZE)));
}

} // namespace

TMappedFile::TMappedFile(const std::string& fileName, uint32_t size)
    : Granularity(AllocationGranularity())
    , FileSize(size) {
    const long long free = FreeSpaceOf(Settings.tempfolder);
    if (free >= 0 && static_cast<long long>(size) > free)
        throw Exception(NoSpace);
    FileHandle = open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (FileHandle < 0)
        throw EOSError(errno, "Cannot create \"" + fileName + "\"");
    try {
        if (ftruncate(FileHandle, size) != 0)
            throw EOSError(errno, "Cannot set the size of \"" + fileName + "\"");
        // posix_fallocate returns its error instead of setting errno.
        if (const int error = size ? posix_fallocate(FileHandle, 0, size) : 0; error == ENOSPC)
            throw Exception(NoSpace);
        else if (error != 0 && error != EOPNOTSUPP && error != EINVAL)
            throw EOSError(error, "Cannot reserve space for \"" + fileName + "\"");
        if (size > 0)
            Remap(0);
    } catch (...) {
        close(FileHandle);
        FileHandle = -1;
        throw;
    }
}

TMappedFile::~TMappedFile() {
    Unmap();
    if (FileHandle >= 0)
        close(FileHandle);
}

void TMappedFile::Unmap() {
    if (View)
        munmap(View, ViewSize);
    View = nullptr;
}

void TMappedFile::Remap(uint32_t p) {
    if (p >= FileSize)
        throw EOSError(EINVAL, "Mapped file offset " + std::to_string(p) + " is past the end");
    Unmap();
    ViewStart = p - p % Granularity;
    ViewSize = std::min(FileSize - ViewStart, MaxViewSize);
    ViewEnd = ViewStart + ViewSize - 1;
    void* view = mmap(nullptr, ViewSize, PROT_READ | PROT_WRITE, MAP_SHARED, FileHandle, ViewStart);
    if (view == MAP_FAILED)
        throw EOSError(errno, "Cannot map a view of a temporary file");
    View = static_cast<uint8_t*>(view);
}

void TMappedFile::Close() {
    if (View && munmap(View, ViewSize) != 0) {
        View = nullptr;
        throw EOSError(errno, "Cannot unmap a temporary file");
    }
    View = nullptr;
    if (FileHandle >= 0) {
        const int fd = FileHandle;
        FileHandle = -1;
        if (close(fd) != 0)
            throw EOSError(errno);
    }
}
