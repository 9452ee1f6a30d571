#include "TDataFile.h"

#include "Exceptions.h"
#include "FileIo.h"
#include "HeldTempFile.h"
#include "Settings.h"
#include "TempFileList.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

/// An unheld file younger than this may be one that another instance has just made and not
/// locked yet.
constexpr std::chrono::seconds OrphanAge{10};

} // namespace

TDataFile::TDataFile(std::string name, int handle, bool temporary)
    : Name(std::move(name))
    , Handle(handle)
    , Temporary(temporary) {}

std::shared_ptr<const TDataFile> TDataFile::CreateTemporary(const char* prefix) {
    HeldTempFile file = HeldTempFile::Create(Settings.tempfolder, prefix);
    TempFiles.Add(file.Name);
    return std::shared_ptr<const TDataFile>(new TDataFile(std::move(file.Name), file.Handle, true));
}

std::shared_ptr<const TDataFile> TDataFile::Open(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError("Cannot open file \"" + path + "\". " + std::strerror(errno));
    return std::shared_ptr<const TDataFile>(new TDataFile(path, fd, false));
}

int TDataFile::RemoveOrphans(const std::string& folder, const std::stop_token& stop) {
    return HeldTempFile::RemoveUnheld(folder, {SamplePrefix, IndexPrefix}, OrphanAge, stop);
}

TDataFile::~TDataFile() {
    // A name the exit's sweep has already deleted may since belong to another instance's file.
    if (Temporary && TempFiles.Remove(Name))
        unlink(Name.c_str());
    close(Handle);
}

int64_t TDataFile::ReadAt(int64_t offset, void* buffer, int64_t count) const {
    const FileIoResult read = ReadAllAt(Handle, offset, buffer, count);
    if (read.Error != 0)
        throw EReadError("Stream read error: \"" + Name + "\". " + std::strerror(read.Error));
    return read.Bytes;
}
