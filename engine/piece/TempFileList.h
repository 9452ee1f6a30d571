#pragma once

#include <mutex>
#include <string>
#include <vector>

/// The names of the program's temporary files that still exist: each is listed when it is made
/// and struck off when its owner deletes it; whatever is left is deleted together when the
/// program ends. Safe to use from any thread.
class TempFileList {
public:
    void Add(const std::string& name);
    /// Strikes `name` off; false when it was not listed (already deleted by `DeleteAll`).
    bool Remove(const std::string& name);
    std::vector<std::string> Names() const;
    bool Contains(const std::string& name) const;

    /// Deletes every listed file that still exists and empties the list.
    void DeleteAll();

private:
    mutable std::mutex Lock;
    std::vector<std::string> Files;
};

/// The program's one list of temporary files.
extern TempFileList TempFiles;
