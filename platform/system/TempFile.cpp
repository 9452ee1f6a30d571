#include "TempFile.h"

#include "Exceptions.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

std::string FolderWithSeparator(const std::string& folder) {
    std::string base = folder.empty() ? std::string(".") : folder;
    if (base.back() != '/')
        base += '/';
    return base;
}

UniqueTempFile OpenUniqueTempFile(const std::string& folder, const std::string& prefix) {
    UniqueTempFile file;
    file.Name = FolderWithSeparator(folder) + prefix + "XXXXXX.tmp";
    file.Handle = mkostemps(file.Name.data(), 4, O_CLOEXEC);
    if (file.Handle < 0)
        throw EOSError(errno, "Cannot create a temporary file in \"" + folder + "\"");
    return file;
}

long long FreeSpaceOf(const std::string& path) {
    struct statvfs info {};
    if (statvfs(path.c_str(), &info) != 0)
        return -1;
    return static_cast<long long>(info.f_bavail) * static_cast<long long>(info.f_frsize);
}
