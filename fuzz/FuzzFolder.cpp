#include "FuzzFolder.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

const std::string& FuzzFolder() {
    static const std::string folder = [] {
        std::string pattern = "fuzz-files-XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a folder for the fuzz target's files");
        return pattern;
    }();
    return folder;
}

std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size) {
    const std::string path = FuzzFolder() + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot write " + path);
    if (size > 0)
        std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path;
}
