#include "HeldTempFile.h"

#include "Exceptions.h"
#include "TempFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr size_t UniqueLetters = 6; // the XXXXXX of the name
constexpr const char* Suffix = ".tmp";

bool LocksUnsupported(int error) {
    return error == ENOLCK || error == EOPNOTSUPP || error == EINVAL;
}

/// A name that `Create` gives with `prefix`.
bool IsHeldFileName(const std::string& name, const std::string& prefix) {
    return name.size() == prefix.size() + UniqueLetters + 4 && name.starts_with(prefix) &&
           name.ends_with(Suffix);
}

/// Closes a descriptor however the examination of its file ends.
class DescriptorScope {
public:
    explicit DescriptorScope(int fd)
        : Handle(fd) {}
    ~DescriptorScope() { close(Handle); }
    DescriptorScope(const DescriptorScope&) = delete;
    DescriptorScope& operator=(const DescriptorScope&) = delete;

private:
    int Handle;
};

/// Deletes `path` when it is an old enough regular file of this user that no process holds.
bool RemoveIfUnheld(const std::string& path, std::chrono::seconds minimumAge) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0)
        return false;
    const DescriptorScope scope(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid())
        return false;
    if (std::time(nullptr) - info.st_mtime < minimumAge.count())
        return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return false; // a running instance holds it
    // The name must still be the file that was locked, not a new one made under it since.
    struct stat now {};
    if (lstat(path.c_str(), &now) != 0 || now.st_dev != info.st_dev || now.st_ino != info.st_ino)
        return false;
    return unlink(path.c_str()) == 0;
}

} // namespace

HeldTempFile HeldTempFile::Create(const std::string& folder, const std::string& prefix) {
    const UniqueTempFile created = OpenUniqueTempFile(folder, prefix);
    HeldTempFile file{created.Name, created.Handle};
    // Locked before anything is written to it; another instance's sweep spares it until then
    // by its age. On a file system without locks no sweep can lock it either, so it is safe
    // unheld.
    if (flock(file.Handle, LOCK_SH) != 0 && !LocksUnsupported(errno)) {
        const int error = errno;
        unlink(file.Name.c_str());
        close(file.Handle);
        throw EOSError(error, "Cannot lock the temporary file \"" + file.Name + "\"");
    }
    return file;
}

int HeldTempFile::RemoveUnheld(const std::string& folder, const std::vector<std::string>& prefixes,
                               std::chrono::seconds minimumAge, const std::stop_token& stop) {
    const std::string base = FolderWithSeparator(folder);
    DIR* listing = opendir(base.c_str());
    if (!listing)
        return 0;
    int removed = 0;
    while (const dirent* entry = stop.stop_requested() ? nullptr : readdir(listing)) {
        const std::string name = entry->d_name;
        const bool held = std::any_of(prefixes.begin(), prefixes.end(), [&](const auto& prefix) {
            return IsHeldFileName(name, prefix);
        });
        if (held && RemoveIfUnheld(base + name, minimumAge))
            ++removed;
    }
    closedir(listing);
    return removed;
}
