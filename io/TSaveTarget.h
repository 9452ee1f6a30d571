#pragma once

#include <string>

/// The file a save writes while it runs: a new file beside the target that replaces the target
/// only when the save has succeeded.
///
/// The constructor resolves a target that is a symbolic link to the file it names and creates a
/// new empty file, readable and writable by its owner only, in that file's folder. Where the file
/// system allows it the new file has no name until `Commit`, so a process that ends before then
/// leaves nothing behind; elsewhere it is a hidden ".<name>.XXXXXX.tmp" beside the target. Writers
/// open `NewName` and name the target in their messages. `Commit` gives the new file the old
/// target's permissions (or, for a new target, those of a newly created file), makes it durable
/// and renames it over the target; a target that is never committed keeps its old content, and
/// the new file is removed when the object goes. Used by one thread.
class TSaveTarget {
public:
    /// Raises EFOpenError naming the target when the new file cannot be created.
    explicit TSaveTarget(const std::string& targetName);
    ~TSaveTarget();
    TSaveTarget(const TSaveTarget&) = delete;
    TSaveTarget& operator=(const TSaveTarget&) = delete;

    /// The name under which writers open the new file (it may be a /proc name of it); not for
    /// messages.
    const std::string& NewName() const { return NewFile; }
    /// The name the user gave, for messages.
    const std::string& ShownName() const { return TargetName; }
    /// The file that `Commit` replaces: the target with symbolic links resolved.
    const std::string& FinalName() const { return FinalFile; }
    /// What a failed save leaves: "The existing file is unchanged." when the target existed, "No
    /// file was created." otherwise.
    const std::string& FailureOutcome() const;

    /// Gives the new file its permissions, makes it durable and renames it over the target.
    /// Raises EWriteError naming the target, the reason and `FailureOutcome` when any step fails;
    /// the new file is then removed.
    void Commit();

private:
    void CreateNewFile();
    /// Gives the anonymous new file a hidden name beside the target; the name, or "" with errno.
    std::string LinkNewFile() const;
    [[noreturn]] void FailCommit(int code);

    std::string TargetName;
    std::string FinalFile;
    std::string NewFile;
    /// The new file's descriptor, open from the constructor until the object goes.
    int Descriptor = -1;
    /// True when the new file has no name of its own (O_TMPFILE).
    bool Anonymous = false;
    bool TargetExisted = false;
    bool Finished = false;
};
