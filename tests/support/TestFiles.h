#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// A private folder for one test, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return Folder; }
    /// The folder's path joined with `name`.
    std::string File(const std::string& name) const;

private:
    std::string Folder;
};

/// Runs a program with arguments (no shell) and returns its standard output; throws
/// std::runtime_error when it cannot start or exits non-zero.
std::string RunProgram(const std::vector<std::string>& argv);

/// True when the named program is on the PATH.
bool HaveProgram(const std::string& name);

/// The names of the entries in `folder`, sorted.
std::vector<std::string> Listing(const std::string& folder);

std::vector<uint8_t> ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

/// Signed 16-bit little-endian samples of a byte buffer.
std::vector<int16_t> ToSamples(const std::vector<uint8_t>& bytes);
