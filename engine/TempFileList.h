#pragma once

#include <mutex>
#include <string>
#include <vector>

/// The names of every temporary file the program created since it started, deleted together when
/// the main window closes. Safe to use from any thread.
class TempFileList {
public:
    void Add(const std::string& name);
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
