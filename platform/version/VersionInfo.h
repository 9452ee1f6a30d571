#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// The program file's version record: read from the ELF section ".sondrix_version" that
/// sondrix_version_record (cmake/SondrixVersion.cmake, which also describes the layout) puts into
/// an executable. Shaped like the version-information calls the rest of the program expects.
/// Reads the file each time; safe from any thread.

/// Bytes of the named file's version record, or 0 when the file cannot be read, is not a
/// little-endian ELF file, has no such section or a malformed one.
uint32_t GetFileVersionInfoSize(const std::string& fileName);

/// Reads the version record (at most `size` bytes) into `data`; false when it cannot.
bool GetFileVersionInfo(const std::string& fileName, uint32_t size, std::vector<uint8_t>& data);

/// Looks up a value of the record by its path, compared without regard to ASCII case:
/// "\" (four 16-bit version parts), "\VarFileInfo\Translation" (16-bit language, 16-bit code
/// page), "\StringFileInfo\<language><code page>\<name>" (text without terminator). False when
/// the record is malformed or has no such value; `value` then stays empty.
bool VerQueryValue(const std::vector<uint8_t>& data, std::string_view subBlock,
                   std::string_view& value);
