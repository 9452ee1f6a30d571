#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

/// A private folder in the working directory for the files one fuzzing process writes, made on
/// first use and reused for every input. The process removes nothing: fuzz.sh runs each target in
/// a findings folder that it clears before the run.
const std::string& FuzzFolder();

/// Writes `size` bytes to `name` in the fuzzing folder and returns the file's full name.
std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size);
