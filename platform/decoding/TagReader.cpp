#include "TagReader.h"

#include <taglib/fileref.h>
#include <taglib/tpropertymap.h>

TagReader::TagReader(const std::string& fileName) {
    const TagLib::FileRef file(fileName.c_str(), false);
    if (file.isNull() || !file.file() || !file.file()->isValid())
        return;
    const TagLib::PropertyMap properties = file.file()->properties();
    for (const auto& [key, values] : properties)
        if (!values.isEmpty())
            Values[key.to8Bit(true)] = values.front().to8Bit(true);
}

std::string TagReader::Value(const std::string& key) const {
    const auto found = Values.find(key);
    return found == Values.end() ? std::string() : found->second;
}
