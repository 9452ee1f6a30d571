#pragma once

// Version records written by hand after the documented layout, and program files that carry
// them, made with objcopy.
#include "TestFiles.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace versionrecord {

inline void PutLittle(std::vector<uint8_t>& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

/// "SXVERS1\0", the entry count, then key length (16 bits), key, value length (32 bits), value.
inline std::vector<uint8_t>
Record(const std::vector<std::pair<std::string, std::string>>& entries) {
    std::vector<uint8_t> out = {'S', 'X', 'V', 'E', 'R', 'S', '1', 0};
    PutLittle(out, entries.size(), 4);
    for (const auto& [key, value] : entries) {
        PutLittle(out, key.size(), 2);
        out.insert(out.end(), key.begin(), key.end());
        PutLittle(out, value.size(), 4);
        out.insert(out.end(), value.begin(), value.end());
    }
    return out;
}

/// The translation value: language and code page, 16 bits each.
inline std::string Translation(uint16_t language, uint16_t codePage) {
    return {char(language & 0xFF), char(language >> 8), char(codePage & 0xFF), char(codePage >> 8)};
}

/// A record as the program's own: translation 0409/04E4 and a FileVersion.
inline std::vector<uint8_t> ProgramRecord(const std::string& version) {
    return Record({{"\\VarFileInfo\\Translation", Translation(0x0409, 0x04E4)},
                   {"\\StringFileInfo\\040904E4\\FileVersion", version}});
}

/// An ELF object made by objcopy from nothing but the record, in the record's own section.
inline std::string ObjcopyFile(const TempDir& dir, const std::string& name,
                               const std::vector<uint8_t>& record,
                               const std::string& format = "elf64-x86-64") {
    std::string raw = dir.File(name + ".bin");
    WriteWholeFile(raw, record);
    std::string file = dir.File(name);
    RunProgram({"objcopy", "-I", "binary", "-O", format, "-B", "i386", "--rename-section",
                ".data=.sondrix_version,alloc,load,readonly,data,contents", raw, file});
    return file;
}

} // namespace versionrecord
