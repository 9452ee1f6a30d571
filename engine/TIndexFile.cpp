#include "TIndexFile.h"

#include "Exceptions.h"
#include "Settings.h"
#include "TempFile.h"
#include "TempFileList.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

bool WriteAll(const std::string& name, const Tindexdata& index) {
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file)
        return false;
    const bool written =
        std::fwrite(index.data(), sizeof(uint32_t), index.size(), file) == index.size();
    // fclose flushes the buffered tail: a full disk may show only here.
    return std::fclose(file) == 0 && written;
}

} // namespace

TIndexFile::~TIndexFile() {
    Remove();
}

bool TIndexFile::Store(const Tindexdata& index) {
    Remove();
    std::string name;
    try {
        name = CreateUniqueTempFile(Settings.tempfolder, "~wi");
        TempFiles.Add(name);
    } catch (const Exception&) {
        return false;
    }
    if (!WriteAll(name, index)) {
        unlink(name.c_str());
        return false;
    }
    FileName = std::move(name);
    Elements = index.size();
    return true;
}

Tindexdata TIndexFile::Take() {
    Tindexdata index(Elements);
    errno = 0;
    const FileHandle file(std::fopen(FileName.c_str(), "rb"));
    if (!file || std::fread(index.data(), sizeof(uint32_t), Elements, file.get()) != Elements)
        throw EReadError("Cannot read the peak index kept in \"" + FileName + "\". " +
                         (errno != 0 ? std::strerror(errno) : "The file is too short."));
    Remove();
    return index;
}

void TIndexFile::Remove() {
    if (FileName.empty())
        return;
    unlink(FileName.c_str());
    FileName.clear();
    Elements = 0;
}
