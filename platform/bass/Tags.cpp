#include "Tags.h"

#include "StreamTable.h"

#include <array>
#include <cstring>
#include <string>

namespace {

struct TagName {
    const char* Format;
    const char* Property;    // TagLib's unified name
    const char* Metadata[2]; // FFmpeg's names, in order of preference
};

constexpr std::array<TagName, 6> TagNames = {{
    {"%TRCK", "TRACKNUMBER", {"track", "tracknumber"}},
    {"%TITL", "TITLE", {"title", nullptr}},
    {"%ARTI", "ARTIST", {"artist", nullptr}},
    {"%ALBM", "ALBUM", {"album", nullptr}},
    {"%GNRE", "GENRE", {"genre", nullptr}},
    {"%YEAR", "DATE", {"date", "year"}},
}};

std::string ReadTag(uint32_t handle, const TagName& name) {
    const auto stream = StreamTable::Find(handle);
    const auto tags = StreamTable::Tags(handle);
    if (!stream || !tags)
        return {};
    std::string value = tags->Value(name.Property);
    for (const char* key : name.Metadata)
        if (value.empty() && key)
            value = stream->Metadata(key);
    return value;
}

} // namespace

const char* TAGS_Read(uint32_t handle, const char* format) {
    thread_local std::string text;
    if (!format || !StreamTable::Find(handle))
        return nullptr;
    for (const TagName& name : TagNames)
        if (std::strcmp(name.Format, format) == 0) {
            text = ReadTag(handle, name);
            return text.c_str();
        }
    return nullptr;
}
