#include "TSaveOperations.h"

#include "AppServices.h"
#include "CThread.h"
#include "EMakerError.h"
#include "Exceptions.h"
#include "IFormatChooser.h"
#include "IMessageBox.h"
#include "MP3writer.h"
#include "TSaveTarget.h"
#include "TWorkerTable.h"
#include "Twavefile.h"
#include "UserInterface.h"
#include "WAVWriter.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

enum class SaveKind { None, Mp3, Wav };

constexpr int64_t WavBlockSamples = 64000;

IMpegSettingsDialog*& MpegDialog() {
    static IMpegSettingsDialog* dialog = nullptr;
    return dialog;
}

/// The kind of file a name calls for, by the extension of its file-name part in any case.
SaveKind SaveKindOf(const std::string& name) {
    const size_t slash = name.find_last_of('/');
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return SaveKind::None;
    std::string ext = name.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
    if (ext == ".mp3")
        return SaveKind::Mp3;
    if (ext == ".wav")
        return SaveKind::Wav;
    return SaveKind::None;
}

void ShowErrorBox(const std::string& text) {
    UserInterface::MessageBox(text, "Error", MB_OK | MB_ICONERROR);
}

bool ChooseMp3(Twavefile& document) {
    if (document.channels > 2) {
        ShowErrorBox("MP3 files hold one or two channels. Please save this " +
                     std::to_string(document.channels) + "-channel audio as WAV.");
        return false;
    }
    TMpegSettingsChoice choice;
    IMpegSettingsDialog* dialog = MpegDialog();
    if (!dialog || !dialog->Execute(document.samplerate, choice))
        return false;
    const TEncoderConfig config = choice.EncoderConfig(document.samplerate, document.channels);
    document.encoderconfig.fill(0);
    std::memcpy(document.encoderconfig.data(), &config, sizeof config);
    document.operation = opsavemp3;
    return true;
}

bool ChooseWav(Twavefile& document) {
    WAVEFORMATEX pcm;
    FillPCMFormat(uint32_t(document.samplerate), document.channels, 16, pcm);
    WaveFormatBlock format = MakeFormatBlock(pcm);
    ACMFORMATCHOOSE request;
    request.fdwStyle = ACMFORMATCHOOSE_STYLEF_INITTOWFXSTRUCT;
    request.pwfx = format.data();
    request.cbwfx = WaveFormatBlockSize;
    request.pszTitle = "Choose format...";
    request.fdwEnum = ACM_FORMATENUMF_CONVERT;
    request.pwfxEnum = &pcm;
    if (IFormatChooser::Show(request) != MMSYSERR_NOERROR)
        return false;
    std::copy(format.begin(), format.end(), document.targetformat.begin());
    document.operation = opsavewav;
    return true;
}

/// The samples a save writes: its range clamped to the document, read block by block through a
/// table of the save's own over the document's pieces, so that the view, which reads the
/// document's table on the main thread meanwhile, never moves the save's read window.
class TSaveRange {
public:
    explicit TSaveRange(Twavefile& document)
        : Document(document) {
        if (!document.table)
            throw Exception("There is no audio to save.");
        const TLargeFile& shared = *document.table;
        Table = std::make_unique<TLargeFile>(shared.FileName, shared.Channels, shared.SampleRate);
        for (const TChunk& chunk : shared.Chunks)
            Table->Add(chunk);
        Table->UpdateSize();
        const int64_t frames = Table->Frames();
        const int64_t start = std::clamp<int64_t>(document.startframe, 0, frames);
        const int64_t end = std::clamp<int64_t>(document.endframe, start, frames);
        First = start * Table->Channels;
        Total = (end - start) * Table->Channels;
    }

    /// Reads the range in blocks of `blockSamples` samples (a whole number of frames) into
    /// `buffer` and hands each to `write` with its sample count; posts the progress of every
    /// whole block. Stops at the first block that `write` refuses; false then.
    template <typename Write>
    bool ForEachBlock(int64_t blockSamples, std::vector<int16_t>& buffer, Write write) {
        const int64_t blocks = Total / blockSamples;
        const int64_t rest = Total % blockSamples;
        for (int64_t b = 0; b < blocks; ++b) {
            Document.postprogress(int32_t(b * 100 / blocks));
            if (!ReadAndWrite(First + b * blockSamples, blockSamples, buffer, write))
                return false;
        }
        return rest == 0 || ReadAndWrite(First + blocks * blockSamples, rest, buffer, write);
    }

private:
    template <typename Write>
    bool ReadAndWrite(int64_t sample, int64_t count, std::vector<int16_t>& buffer, Write& write) {
        Table->Read(2 * sample, buffer.data(), 2 * count);
        return write(count);
    }

    Twavefile& Document;
    std::unique_ptr<TLargeFile> Table;
    int64_t First = 0;
    int64_t Total = 0;
};

/// Writes the range as a WAV file through `writer` to the target's new file.
void WriteWav(TSaveRange& range, WAVWriter&& writer, const TSaveTarget& target) {
    std::vector<int16_t> buffer(WavBlockSamples);
    writer.Open(target.NewName(), target.ShownName());
    range.ForEachBlock(WavBlockSamples, buffer, [&](int64_t count) {
        writer.Write(buffer.data(), int32_t(count * 2));
        return true;
    });
    writer.Close();
}

void Failed(Twavefile& document) {
    document.thread->ReturnValue = CThread::Failed;
}

} // namespace

void TSaveOperations::Register() {
    TWorkerTable::Register(opsavemp3, &TSaveOperations::savemp3worker);
    TWorkerTable::Register(opsavewav, &TSaveOperations::savewavworker);
}

void TSaveOperations::SetMpegSettingsDialog(IMpegSettingsDialog* dialog) {
    MpegDialog() = dialog;
}

bool TSaveOperations::saverange(Twavefile& document, const std::string& fileName,
                                uint32_t startFrame, uint32_t endFrame) {
    if (document.busy)
        return false;
    document.targetname = fileName;
    document.startframe = startFrame;
    document.endframe = endFrame;
    document.savesdocument = false;
    return chooseformat(document);
}

bool TSaveOperations::savefile(Twavefile& document) {
    if (document.busy)
        return false;
    document.targetname = document.filename;
    document.startframe = 0;
    document.endframe = document.frames;
    document.savesdocument = true;
    return chooseformat(document);
}

bool TSaveOperations::chooseformat(Twavefile& document) {
    if (document.busy)
        return false;
    bool started = false;
    switch (SaveKindOf(document.targetname)) {
    case SaveKind::Mp3:
        started = ChooseMp3(document);
        break;
    case SaveKind::Wav:
        started = ChooseWav(document);
        break;
    case SaveKind::None:
        break;
    }
    if (started)
        document.startoperation();
    return started;
}

void TSaveOperations::savemp3worker(Twavefile& document) {
    TEncoderConfig config;
    std::memcpy(&config, document.encoderconfig.data(), sizeof config);
    TSaveRange range(document);
    TSaveTarget target(document.targetname);
    uint32_t chunk = 0;
    const TShowError showError = [&target](const std::string& text) {
        ShowErrorBox(text + "\r" + target.FailureOutcome());
    };
    MP3writer writer(target.NewName(), chunk, config, showError, target.ShownName());
    if (!writer.IsOpen()) {
        Failed(document);
        return;
    }
    std::vector<int16_t> buffer(chunk);
    const bool written = range.ForEachBlock(chunk, buffer, [&](int64_t count) {
        return writer.Encode(buffer.data(), int32_t(count * 2)) >= 0;
    });
    if (!written || !writer.Close()) {
        Failed(document);
        return;
    }
    target.Commit();
}

void TSaveOperations::savewavworker(Twavefile& document) {
    WAVEFORMATEX source;
    FillPCMFormat(uint32_t(document.samplerate), document.channels, 16, source);
    WaveFormatBlock format;
    std::copy(document.targetformat.begin(), document.targetformat.end(), format.begin());
    TSaveRange range(document);
    TSaveTarget target(document.targetname);
    try {
        WriteWav(range, WAVWriter(source, format), target);
    } catch (const EMakerError& error) {
        throw EMakerError(std::string(error.what()) + "\r" + target.FailureOutcome(),
                          error.ErrorCode());
    }
    target.Commit();
}
