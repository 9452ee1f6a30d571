#pragma once

#include <chrono>
#include <stop_token>
#include <string>
#include <vector>

/// Temporary files that a running instance holds, so that a later instance can tell them from
/// the files of an instance that crashed. A held file carries a shared `flock` on a descriptor
/// that its creator keeps open: the lock lasts exactly as long as that descriptor, so it ends
/// with the process however the process ends (exit, crash, kill -9, power cut).
struct HeldTempFile {
    std::string Name;
    int Handle = -1; ///< open for reading and writing, close-on-exec; its closing ends the hold

    /// Creates a new empty file "<folder>/<prefix>XXXXXX.tmp" with a unique name and holds it
    /// (where the file system has no locks, the file stays unheld and no sweep can remove it).
    /// `folder` may end with a separator or not. Raises EOSError naming the folder and the
    /// reason when the file cannot be created.
    static HeldTempFile Create(const std::string& folder, const std::string& prefix);

    /// Deletes the files "<folder>/<prefix>XXXXXX.tmp", for each of `prefixes`, of this user that
    /// no process holds and that were last written at least `minimumAge` ago; returns how many
    /// it deleted. The age spares a file that another instance has just made and not yet locked.
    /// Files that cannot be examined are left alone. Stops early once `stop` is requested.
    static int RemoveUnheld(const std::string& folder, const std::vector<std::string>& prefixes,
                            std::chrono::seconds minimumAge, const std::stop_token& stop = {});
};
