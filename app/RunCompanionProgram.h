#pragma once

#include <string>

class QSettings;

/// Starts a companion program installed at the folder its settings store names under "path", or
/// else found on the PATH, with `parameter` as its one argument; when it is not installed, says so ("Component not found" /
/// "Please download and install it from our site.") and then opens `webPage`. `registryKey` names
/// the program's own store as "<organisation>\<application>" (leading "Software\" and any folders
/// before the last two are ignored). Main thread only.
void RunCompanionProgram(const std::string& registryKey, const std::string& programFile,
                         const std::string& parameter, const std::string& webPage);

/// The same with the program's store given, for tests.
void RunCompanionProgram(QSettings& store, const std::string& programFile,
                         const std::string& parameter, const std::string& webPage);
