#pragma once

#include <string>

/// The FileVersion text of the named program file's version record (four decimal parts joined
/// by "."), looked up under the record's first translation; "n/a" when the record has no
/// FileVersion or an empty one. Raises EFilerError "File not found: <name>" when the file does
/// not exist, EReadError "Invalid version info record in file <name>" when it carries no
/// record, and EReadError "Invalid language info in file <name>" when the record has no
/// translation.
std::string GetFileVersion(const std::string& fileName);

/// The running program's own file.
std::string ProgramFileName();
