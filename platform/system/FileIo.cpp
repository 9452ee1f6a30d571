#include "FileIo.h"

#include <cerrno>
#include <unistd.h>

namespace {

/// Runs `transfer(done)` until `bytes` bytes have moved. An interrupted call is retried; a call
/// that moves nothing ends the transfer with `emptyError`.
template <typename Transfer>
FileIoResult TransferAll(int64_t bytes, int emptyError, Transfer transfer) {
    FileIoResult result;
    while (result.Bytes < bytes) {
        const ssize_t done = transfer(result.Bytes);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0) {
            result.Error = done < 0 ? errno : emptyError;
            break;
        }
        result.Bytes += done;
    }
    return result;
}

} // namespace

FileIoResult WriteAll(int descriptor, const void* data, int64_t bytes) {
    const auto* from = static_cast<const uint8_t*>(data);
    return TransferAll(bytes, ENOSPC, [&](int64_t done) {
        return ::write(descriptor, from + done, size_t(bytes - done));
    });
}

FileIoResult WriteAllAt(int descriptor, int64_t position, const void* data, int64_t bytes) {
    const auto* from = static_cast<const uint8_t*>(data);
    return TransferAll(bytes, ENOSPC, [&](int64_t done) {
        return ::pwrite(descriptor, from + done, size_t(bytes - done), off_t(position + done));
    });
}

FileIoResult ReadAllAt(int descriptor, int64_t position, void* data, int64_t bytes) {
    auto* to = static_cast<uint8_t*>(data);
    return TransferAll(bytes, 0, [&](int64_t done) {
        return ::pread(descriptor, to + done, size_t(bytes - done), off_t(position + done));
    });
}
