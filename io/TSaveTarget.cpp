#include "TSaveTarget.h"

#include "Exceptions.h"
#include "TempFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// The process's file-creation mask, read without changing it.
mode_t CurrentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("Umask:", 0) == 0)
            return mode_t(std::stoul(line.substr(6), nullptr, 8));
    return 022;
}

/// The file a save to `target` replaces: a symbolic link is followed to the file it names.
std::string ResolveTarget(const std::string& target) {
    std::error_code error;
    const std::filesystem::path resolved = std::filesystem::weakly_canonical(target, error);
    return error ? target : resolved.string();
}

/// Permissions for the new file: the old target's, or those of a newly created file.
mode_t PermissionsFor(const std::string& finalName) {
    struct stat info {};
    if (stat(finalName.c_str(), &info) == 0)
        return info.st_mode & 07777;
    return 0666 & ~CurrentUmask();
}

/// The prefix of the new file's name: ".<name>." with the target's name cut short, at a character
/// boundary, so that the whole name with mkstemps' "XXXXXX.tmp" stays within the file system's
/// limit.
std::string NewFilePrefix(const std::string& name) {
    constexpr size_t Added = 2 + 10;
    size_t keep = std::min<size_t>(name.size(), NAME_MAX - Added);
    while (keep > 0 && keep < name.size() && (uint8_t(name[keep]) & 0xC0) == 0x80)
        --keep;
    return "." + name.substr(0, keep) + ".";
}

/// Makes the file's content, or a folder's entries, durable; false on failure.
bool SyncToDisk(const std::string& name, int flags) {
    const int descriptor = open(name.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (descriptor < 0)
        return false;
    const bool synced = fsync(descriptor) == 0;
    close(descriptor);
    return synced;
}

} // namespace

TSaveTarget::TSaveTarget(const std::string& targetName)
    : TargetName(targetName)
    , FinalFile(ResolveTarget(targetName)) {
    const std::filesystem::path final(FinalFile);
    // A hidden name that shows which file it will become: ".<name>.XXXXXX.tmp".
    try {
        NewFile = CreateUniqueTempFile(final.parent_path().string(),
                                       NewFilePrefix(final.filename().string()));
    } catch (const EOSError& e) {
        throw EFOpenError("Cannot create file \"" + TargetName + "\". " +
                          std::strerror(e.ErrorCode()));
    }
    chmod(NewFile.c_str(), PermissionsFor(FinalFile));
}

TSaveTarget::~TSaveTarget() {
    if (!Finished)
        unlink(NewFile.c_str());
}

void TSaveTarget::Commit() {
    // The content reaches the disk before the name does, so that a power loss leaves either the
    // old target or the complete new one.
    if (!SyncToDisk(NewFile, 0) || std::rename(NewFile.c_str(), FinalFile.c_str()) != 0) {
        const int code = errno;
        unlink(NewFile.c_str());
        Finished = true;
        throw EWriteError("Cannot replace \"" + TargetName + "\". " + std::strerror(code));
    }
    Finished = true;
    // The rename stands either way; a folder that cannot be synced is left to the file system.
    SyncToDisk(std::filesystem::path(FinalFile).parent_path().string(), O_DIRECTORY);
}
