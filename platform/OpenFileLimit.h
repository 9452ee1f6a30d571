#pragma once

/// Raises the process's soft limit of open files to its hard limit. The program holds every
/// data file of its documents, undo steps and clipboard open, which may be more than the usual
/// soft limit of 1024. Does nothing where the limit cannot be read or raised.
void RaiseOpenFileLimit();
