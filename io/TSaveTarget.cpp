#include "TSaveTarget.h"

#include "Exceptions.h"
#include "TempFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
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

} // namespace

TSaveTarget::TSaveTarget(const std::string& targetName)
    : TargetName(targetName)
    , FinalFile(ResolveTarget(targetName)) {
    const std::filesystem::path final(FinalFile);
    // A hidden name that shows which file it will become: ".<name>.XXXXXX.tmp".
    std::string prefix(1, '.');
    prefix.append(final.filename().string()).push_back('.');
    try {
        NewFile = CreateUniqueTempFile(final.parent_path().string(), prefix);
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
    if (std::rename(NewFile.c_str(), FinalFile.c_str()) != 0) {
        const int code = errno;
        unlink(NewFile.c_str());
        Finished = true;
        throw EWriteError("Cannot replace \"" + TargetName + "\". " + std::strerror(code));
    }
    Finished = true;
}
