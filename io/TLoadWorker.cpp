#include "TLoadWorker.h"

#include "IMessageBox.h"
#include "TBASSDecoder.h"
#include "TDataFile.h"
#include "TWorkerTable.h"
#include "Twavefile.h"
#include "UserInterface.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <span>
#include <sys/stat.h>
#include <unistd.h>

std::atomic<int64_t> TLoadWorker::FileSizeLimit{TBASSDecoder::MaxFileSize};

namespace {

constexpr const char* BrokenText =
    "Could not import audio file. Format not supported or file broken";

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

std::string CannotImport(const std::string& name, const std::string& reason) {
    return "Could not import audio file \"" + name + "\". " + reason;
}

/// The message for a source that the system would not let us open.
std::string OpenErrorText(const std::string& name, int error) {
    if (error == ENOENT || error == ENOTDIR)
        return CannotImport(name, "The file was not found.");
    if (error == EACCES || error == EPERM)
        return CannotImport(name, "Permission to read it was denied.");
    return CannotImport(name, std::string(std::strerror(error)) + ".");
}

/// Why the source cannot be decoded at all, or "" when it is a regular file that we may read. A
/// named pipe, a device or a folder would block the decoder or read for ever, so it is refused
/// before it is opened.
std::string AccessProblem(const std::string& name) {
    struct stat info {};
    if (stat(name.c_str(), &info) != 0)
        return OpenErrorText(name, errno);
    if (!S_ISREG(info.st_mode))
        return BrokenText;
    const int handle = open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return OpenErrorText(name, errno);
    close(handle);
    return "";
}

/// h:mm:ss of whole seconds.
std::string Clock(int64_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}

std::string TooLongText(const std::string& name, const TBASSDecoder& decoder) {
    const uint32_t rate = decoder.SampleRate();
    const std::string layout = decoder.Channels() == 1 ? "mono" : "stereo";
    return CannotImport(name, "It is longer than a document can hold (at most " +
                                  Clock(decoder.LongestFrames() / rate) + " at " +
                                  std::to_string(rate) + " Hz " + layout + ").");
}

void FailLoad(Twavefile& document, const std::string& text) {
    UserInterface::MessageBox(text, "File Loading Error!", MB_OK | MB_ICONEXCLAMATION);
    document.loadfailed = true;
    document.thread->ReturnValue = CThread::Failed;
}

} // namespace

void TLoadWorker::Register() {
    TWorkerTable::Register(opload, &TLoadWorker::loadworker);
}

void TLoadWorker::loadworker(Twavefile& document) {
    const std::string problem = AccessProblem(document.filename);
    if (!problem.empty()) {
        FailLoad(document, problem);
        return;
    }
    // The decoded file is deleted with the last table that refers to it; a failed load lets go
    // of it before the message shows.
    std::shared_ptr<const TDataFile> data = TDataFile::CreateTemporary();
    document.tempname = data->Path();
    std::string failure;
    {
        TBASSDecoder decoder(document.filename, document.tempname, &UserInterface::PostProgress,
                             FileSizeLimit);
        if (decoder.Usable() && decoder.DecodeToFile())
            TakeResults(document, decoder, std::move(data));
        else
            failure = decoder.TooLong() ? TooLongText(document.filename, decoder) : BrokenText;
    }
    if (!failure.empty()) {
        data.reset();
        FailLoad(document, failure);
    }
}
