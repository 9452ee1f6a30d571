#include "TempFileList.h"

#include <algorithm>
#include <unistd.h>

TempFileList TempFiles;

void TempFileList::Add(const std::string& name) {
    std::lock_guard guard(Lock);
    Files.push_back(name);
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
