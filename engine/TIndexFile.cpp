#include "TIndexFile.h"

#include "Exceptions.h"
#include "TDataFile.h"

#include <cerrno>
#include <unistd.h>

namespace {

/// Writes all of `bytes` at the start of the file; false on any failure (a full disk included).
bool WriteAll(const TDataFile& file, const void* data, size_t bytes) {
    const auto* from = static_cast<const uint8_t*>(data);
    size_t done = 0;
    while (done < bytes) {
        const ssize_t written = pwrite(file.Descriptor(), from + done, bytes - done, off_t(done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += size_t(written);
    }
    return true;
}

} // namespace

TIndexFile::TIndexFile() = default;
TIndexFile::~TIndexFile() = default;

bool TIndexFile::Store(const Tindexdata& index) {
    File.reset();
    Elements = 0;
    std::shared_ptr<const TDataFile> file;
    try {
        file = TDataFile::CreateTemporary(TDataFile::IndexPrefix);
    } catch (const Exception&) {
        return false;
    }
    if (!WriteAll(*file, index.data(), index.size() * sizeof(uint32_t)))
        return false;
    File = std::move(file);
    Elements = index.size();
    return true;
}

Tindexdata TIndexFile::Take() {
    Tindexdata index(Elements);
    const int64_t bytes = int64_t(Elements * sizeof(uint32_t));
    if (File->ReadAt(0, index.data(), bytes) != bytes)
        throw EReadError("Cannot read the peak index kept in \"" + File->Path() +
                         "\". The file is too short.");
    File.reset();
    Elements = 0;
    return index;
}
