#pragma once

#include <cstdint>

/// The soft limit of open files the program asks for: enough for the data files of a long edit
/// session, and not so many that the programs it starts (which inherit the limit) slow down.
constexpr uint64_t MostOpenFiles = 65536;

/// Raises the process's soft limit of open files towards `MostOpenFiles`, within its hard limit.
/// The program holds every data file of its documents, undo steps and clipboard open, which may
/// be more than the usual soft limit of 1024. Does nothing where the limit cannot be read or
/// raised.
void RaiseOpenFileLimit();
