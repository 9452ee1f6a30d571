#pragma once

#include <string>

/// The file a save writes while it runs: a new file beside the target that replaces the target
/// only when the save has succeeded.
///
/// The constructor resolves a target that is a symbolic link to the file it names, creates a new
/// empty file exclusively in that file's folder and gives it the old target's permissions (or,
/// for a new target, those of a newly created file). Writers write `NewName`. `Commit` renames the
/// new file over the target; a target that is never committed keeps its old content, and the new
/// file is removed when the object goes. Used by one thread.
class TSaveTarget {
public:
    /// Raises EFOpenError naming the target when the new file cannot be created.
    explicit TSaveTarget(const std::string& targetName);
    ~TSaveTarget();
    TSaveTarget(const TSaveTarget&) = delete;
    TSaveTarget& operator=(const TSaveTarget&) = delete;

    const std::string& NewName() const { return NewFile; }
    /// The file that `Commit` replaces: the target with symbolic links resolved.
    const std::string& FinalName() const { return FinalFile; }

    /// Renames the new file over the target. Raises EWriteError naming the target when the rename
    /// fails; the new file is then removed.
    void Commit();

private:
    std::string TargetName;
    std::string FinalFile;
    std::string NewFile;
    bool Finished = false;
};
