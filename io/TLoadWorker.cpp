#include "TLoadWorker.h"

#include "AppServices.h"
#include "TBASSDecoder.h"
#include "TMessageBox.h"
#include "TWorkerTable.h"
#include "Twavefile.h"
#include "UserInterface.h"

#include <cstdio>
#include <span>
#include <sys/stat.h>

std::atomic<int64_t> TLoadWorker::FileSizeLimit{TBASSDecoder::MaxFileSize};

namespace {

void TakeResults(Twavefile& document, TBASSDecoder& decoder) {
    const std::vector<std::string>& tags = decoder.Tags();
    document.Track = tags[0];
    document.Title = tags[1];
    document.Artist = tags[2];
    document.Album = tags[3];
    document.Genre = tags[4];
    document.Year = tags[5];
    document.table =
        TLargeFile::CreateWithFile(document.filename, document.tempname, decoder.DataSize(),
                                   decoder.Channels(), int32_t(decoder.SampleRate()));
    document.updateinfo(*document.table);
    document.peaks.fill(0);
    if (document.frames == 0) {
        // An empty document has no peak index.
        document.peakindex.clear();
        document.peak = 0;
        document.leveldb = -90.0;
        return;
    }
    decoder.PeakBuilder().GetIndexData(document.peakindex);
    decoder.PeakBuilder().GetLevels(std::span<int16_t>(document.peaks), document.peak,
                                    document.leveldb);
    document.table->IndexData = document.peakindex;
}

/// A named pipe, a device or a folder would block the decoder or read for ever.
bool IsRegularFile(const std::string& name) {
    struct stat info {};
    return stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void FailLoad(Twavefile& document) {
    std::remove(document.tempname.c_str());
    UserInterface::MessageBox("Could not import audio file. Format not supported or file broken",
                              "File Loading Error!", MB_OK | MB_ICONEXCLAMATION);
    document.loadfailed = true;
    document.thread->ReturnValue = CThread::Failed;
}

} // namespace

void TLoadWorker::Register() {
    TWorkerTable::Register(opload, &TLoadWorker::loadworker);
}

void TLoadWorker::loadworker(Twavefile& document) {
    document.tempname = GetTempFileNameIn();
    if (!IsRegularFile(document.filename)) {
        FailLoad(document);
        return;
    }
    bool ok = false;
    try {
        TBASSDecoder decoder(document.filename, document.tempname, &UserInterface::PostProgress,
                             FileSizeLimit);
        ok = decoder.Usable() && decoder.DecodeToFile();
        if (ok)
            TakeResults(document, decoder);
    } catch (...) {
        std::remove(document.tempname.c_str());
        throw;
    }
    if (!ok)
        FailLoad(document);
}
