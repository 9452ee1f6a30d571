#include "TempFile.h"

#include "Exceptions.h"

#include <cerrno>
#include <sys/statvfs.h>
#include <unistd.h>

std::string CreateUniqueTempFile(const std::string& folder, const std::string& prefix) {
    std::string base = folder.empty() ? std::string(".") : folder;
    if (base.back() != '/')
        base += '/';
    std::string name = base + prefix + "XXXXXX.tmp";
    const int fd = mkstemps(name.data(), 4);
    if (fd < 0)
        throw EOSError(errno, "Cannot create a temporary file in \"" + folder + "\"");
    close(fd);
    return name;
}

long long FreeSpaceOf(const std::string& path) {
    struct statvfs info {};
    if (statvfs(path.c_str(), &info) != 0)
        return -1;
    return static_cast<long long>(info.f_bavail) * static_cast<long long>(info.f_frsize);
}
