#pragma once

#include <map>
#include <string>

/// The text tags of an audio file as TagLib reads them (unified property names such as TITLE,
/// ARTIST, TRACKNUMBER, DATE). A file that TagLib cannot open reads as having no tags.
/// Reads the file once, in the constructor; safe to use from any one thread.
class TagReader {
public:
    explicit TagReader(const std::string& fileName);

    /// The first value of the property `key` as UTF-8 text, "" when absent.
    std::string Value(const std::string& key) const;

private:
    std::map<std::string, std::string> Values;
};
