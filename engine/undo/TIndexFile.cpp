#include "TIndexFile.h"

#include "Exceptions.h"
#include "FileIo.h"
#include "TDataFile.h"

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
    // Any failure, a full disk included, leaves the index in memory.
    const int64_t bytes = int64_t(index.size() * sizeof(uint32_t));
    if (WriteAllAt(file->Descriptor(), 0, index.data(), bytes).Error != 0)
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
