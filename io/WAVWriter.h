#pragma once

#include "AcmTypes.h"
#include "AudioCompression.h"
#include "RiffFile.h"
#include "RiffTypes.h"
#include "WaveFormat.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// Writes a RIFF/WAVE file in any format of the audio-compression layer from 16-bit PCM. The
/// caller opens it on a file name, pushes source bytes in any amounts and closes it; conversion
/// runs in blocks of 100 ms of source audio (or whole codec blocks when one lasts longer), and
/// Close fills in the chunk sizes and the "fact" sample count (compressed targets only).
///
/// Every failure raises EMakerError (code −1) with one of the writer's fixed messages; a failure of
/// the file adds, after a carriage return, the file's name and the system's reason. A failure
/// releases the file, the stream and the buffers at once and leaves the writer closed, so the
/// caller's Close does nothing and the header of a truncated file is never completed. Used by
/// one thread at a time.
class WAVWriter {
public:
    using RiffOpener = std::function<std::unique_ptr<RiffFile>(const std::string&, uint32_t)>;

    /// Copies both formats. `acm` and `opener` are the layers the writer works through; tests
    /// replace them.
    WAVWriter(const WAVEFORMATEX& sourceFormat, const WaveFormatBlock& targetFormat,
              AudioCompression& acm = AudioCompression::System(),
              RiffOpener opener = &RiffFile::Open);
    /// Releases whatever is still open without completing the file.
    ~WAVWriter();
    WAVWriter(const WAVWriter&) = delete;
    WAVWriter& operator=(const WAVWriter&) = delete;

    /// Sets up the stream, the buffers and the file with its header. Nothing when opened.
    /// Messages name `shownName`, or `fileName` when it is empty.
    void Open(const std::string& fileName, const std::string& shownName = {});
    /// Appends source bytes; returns the converted bytes written to the file during this call.
    /// Nothing when not opened.
    uint32_t Write(const void* buffer, int32_t bytes);
    /// Converts what is left, completes the header and closes everything. Nothing when not
    /// opened.
    void Close();

    bool Opened() const { return IsOpen; }
    /// Source frames converted so far: the "fact" value.
    uint32_t FramesConverted() const { return Frames; }

private:
    bool WriteHeader(const std::string& fileName);
    /// Converts the source buffer and writes the result; returns the destination bytes made.
    uint32_t Convert(bool final);
    [[noreturn]] void Fail(const std::string& message);
    /// Fails with `message`, the file's name and the reason that the system error `code` gives.
    [[noreturn]] void FailFile(const char* message, int code);
    void Release();
    uint16_t TargetTag() const;
    /// Source frames of one block of the target: the samples-per-block field that block formats
    /// carry after the format record, or 1.
    uint32_t FramesPerBlock() const;

    AudioCompression& Acm;
    RiffOpener OpenFile;
    std::string FileName;
    std::string ShownName;
    bool IsOpen = false;
    uint32_t BytesWritten = 0;
    WAVEFORMATEX SourceFormat;
    HACMSTREAM Stream = nullptr;
    std::unique_ptr<RiffFile> File;
    WaveFormatBlock TargetFormat;
    uint32_t SourceSize = 0;
    uint32_t DestinationSize = 0;
    std::vector<uint8_t> SourceBuffer;
    std::vector<uint8_t> DestinationBuffer;
    uint32_t Fill = 0;
    uint32_t Frames = 0;
    uint32_t ConvertFlags = 0;
    MMCKINFO RiffChunk, FactChunk, DataChunk;
};
