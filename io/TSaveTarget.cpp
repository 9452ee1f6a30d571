#include "TSaveTarget.h"

#include "Exceptions.h"
#include "TempFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/random.h>
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

/// The folder that holds `finalName`, "." for a bare name.
std::string FolderOf(const std::string& finalName) {
    const std::string folder = std::filesystem::path(finalName).parent_path().string();
    return folder.empty() ? std::string(".") : folder;
}

/// Six random letters and digits for a unique file name.
std::string RandomLetters() {
    static constexpr char Letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    uint8_t bytes[6] = {};
    if (getrandom(bytes, sizeof bytes, 0) != ssize_t(sizeof bytes))
        for (uint8_t& byte : bytes)
            byte = uint8_t(std::rand());
    std::string text;
    for (const uint8_t byte : bytes)
        text += Letters[byte % (sizeof Letters - 1)];
    return text;
}

/// Makes a folder's entries durable; false on failure.
bool SyncFolder(const std::string& name) {
    const int descriptor = open(name.c_str(), O_RDONLY | O_CLOEXEC | O_DIRECTORY);
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
    struct stat info {};
    TargetExisted = stat(FinalFile.c_str(), &info) == 0;
    CreateNewFile();
    // Only the owner writes the file until it is complete, whatever the file-creation mask says;
    // the target's permissions come with the commit.
    fchmod(Descriptor, 0600);
}

void TSaveTarget::CreateNewFile() {
    const std::string folder = FolderOf(FinalFile);
    // A file without a name needs /proc to be opened again by the writers.
    if (access("/proc/self/fd", F_OK) == 0) {
        Descriptor = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (Descriptor >= 0) {
            Anonymous = true;
            NewFile = "/proc/self/fd/" + std::to_string(Descriptor);
            return;
        }
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            throw EFOpenError("Cannot create file \"" + TargetName + "\". " + std::strerror(errno));
    }
    // A hidden name that shows which file it will become: ".<name>.XXXXXX.tmp".
    try {
        const UniqueTempFile created = OpenUniqueTempFile(
            folder, NewFilePrefix(std::filesystem::path(FinalFile).filename().string()));
        NewFile = created.Name;
        Descriptor = created.Handle;
    } catch (const EOSError& e) {
        throw EFOpenError("Cannot create file \"" + TargetName + "\". " +
                          std::strerror(e.ErrorCode()));
    }
}

TSaveTarget::~TSaveTarget() {
    if (!Finished && !Anonymous)
        unlink(NewFile.c_str());
    close(Descriptor);
}

const std::string& TSaveTarget::FailureOutcome() const {
    static const std::string Unchanged = "The existing file is unchanged.";
    static const std::string NotCreated = "No file was created.";
    return TargetExisted ? Unchanged : NotCreated;
}

std::string TSaveTarget::LinkNewFile() const {
    const std::string prefix = FolderOf(FinalFile) + "/" +
                               NewFilePrefix(std::filesystem::path(FinalFile).filename().string());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = prefix + RandomLetters() + ".tmp";
        if (linkat(AT_FDCWD, NewFile.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return name;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

void TSaveTarget::Commit() {
    // The content and the permissions reach the disk before the name does, so that a power loss
    // leaves either the old target or the complete new one.
    if (fchmod(Descriptor, PermissionsFor(FinalFile)) != 0 || fsync(Descriptor) != 0)
        FailCommit(errno);
    if (Anonymous) {
        const std::string linked = LinkNewFile();
        if (linked.empty())
            FailCommit(errno);
        NewFile = linked;
        Anonymous = false;
    }
    if (std::rename(NewFile.c_str(), FinalFile.c_str()) != 0)
        FailCommit(errno);
    Finished = true;
    // The rename stands either way; a folder that cannot be synced is left to the file system.
    SyncFolder(FolderOf(FinalFile));
}

void TSaveTarget::FailCommit(int code) {
    if (!Anonymous)
        unlink(NewFile.c_str());
    Finished = true;
    throw EWriteError("Cannot replace \"" + TargetName + "\". " + std::strerror(code) + "\r" +
                      FailureOutcome());
}
