#include "TempFileList.h"

#include <algorithm>
#include <unistd.h>

TempFileList TempFiles;

void TempFileList::Add(const std::string& name) {
    std::lock_guard guard(Lock);
    Files.push_back(name);
}

bool TempFileList::Remove(const std::string& name) {
    std::lock_guard guard(Lock);
    const auto listed = std::find(Files.begin(), Files.end(), name);
    if (listed == Files.end())
        return false;
    Files.erase(listed);
    return true;
}

std::vector<std::string> TempFileList::Names() const {
    std::lock_guard guard(Lock);
    return Files;
}

bool TempFileList::Contains(const std::string& name) const {
    std::lock_guard guard(Lock);
    return std::find(Files.begin(), Files.end(), name) != Files.end();
}

void TempFileList::DeleteAll() {
    std::lock_guard guard(Lock);
    for (const std::string& name : Files)
        unlink(name.c_str());
    Files.clear();
}
