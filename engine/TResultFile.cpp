#include "TResultFile.h"

#include "AppServices.h"

#include <unistd.h>

TResultFile::TResultFile()
    : FileName(GetTempFileNameIn()) {}

TResultFile::~TResultFile() {
    if (!Kept)
        unlink(FileName.c_str());
}
