#include "TLoadWorker.h"

#include "TBASSDecoder.h"
#include "TDataFile.h"
#include "TMessageBox.h"
#include "TWorkerTable.h"
#include "Twavefile.h"
#include "UserInterface.h"

#include <span>
#include <sys/stat.h>

std::atomic<int64_t> TLoadWorker::FileSizeLimit{TBASSDecoder::MaxFileSize};

namespace {

void TakeResults(Twavefile& document, TBASSDecoder& decoder,
                 std::shared_ptr<const TDataFile> data) {
    const std::vector<std::string>& tags = decoder.Tags();
    document.Track = tags[0];
    document.Title = tags[1];
    document.Artist = tags[2];
    document.Album = tags[3];
    document.Genre = tags[4];
    document.Year = tags[5];
    document.table =
        TLargeFile::CreateWithFile(document.filename, std::move(data), decoder.DataSize(),
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
    // The decoded file is deleted with the last table that refers to it; a failed load lets go
    // of it before the message shows.
    std::shared_ptr<const TDataFile> data = TDataFile::CreateTemporary();
    document.tempname = data->Path();
    bool ok = false;
    if (IsRegularFile(document.filename)) {
        TBASSDecoder decoder(document.filename, document.tempname, &UserInterface::PostProgress,
                             FileSizeLimit);
        ok = decoder.Usable() && decoder.DecodeToFile();
        if (ok)
            TakeResults(document, decoder, std::move(data));
    }
    if (!ok) {
        data.reset();
        FailLoad(document);
    }
}
