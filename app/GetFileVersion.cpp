#include "GetFileVersion.h"
#include "EFilerError.h"
#include "VersionInfo.h"

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>

namespace {
// The translation's language and code page as eight upper-case hexadecimal digits.
std::string TranslationKey(std::string_view translation) {
    auto word = [&translation](size_t at) {
        return static_cast<unsigned>(static_cast<uint8_t>(translation[at]) |
                                     static_cast<uint8_t>(translation[at + 1]) << 8);
    };
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", word(0), word(2));
    return key;
}
} // namespace

std::string GetFileVersion(const std::string& fileName) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        throw EFilerError("File not found: " + fileName);
    uint32_t size = GetFileVersionInfoSize(fileName);
    if (size == 0)
        throw EReadError("Invalid version info record in file " + fileName);
    std::vector<uint8_t> data;
    GetFileVersionInfo(fileName, size, data);
    std::string_view translation;
    VerQueryValue(data, "\\VarFileInfo\\Translation", translation);
    if (translation.size() < 4)
        throw EReadError("Invalid language info in file " + fileName);
    std::string_view version;
    VerQueryValue(data, "\\StringFileInfo\\" + TranslationKey(translation) + "\\FileVersion",
                  version);
    return version.empty() ? std::string("n/a") : std::string(version);
}

std::string ProgramFileName() {
    return QCoreApplication::applicationFilePath().toStdString();
}
