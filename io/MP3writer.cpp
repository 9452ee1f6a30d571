#include "MP3writer.h"

#include "Exceptions.h"
#include "MainThreadDispatcher.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr size_t FileBufferBytes = 256 * 1024;

void ShowOnMainThread(const TShowError& showError, const std::string& text) {
    if (showError)
        MainThreadDispatcher::Synchronize([&] { showError(text); });
}

} // namespace

MP3writer::MP3writer(std::string fileName, uint32_t& samplesPerChunk, const TEncoderConfig& config,
                     TShowError showError, std::string shownName)
    : FileName(std::move(fileName))
    , ShownName(shownName.empty() ? FileName : std::move(shownName))
    , FileBuffer(FileBufferBytes)
    , VbrHeader(config.WriteVbrHeader != 0)
    , ShowError(std::move(showError)) {
    Output = std::fopen(FileName.c_str(), "wb");
    if (!Output)
        throw EFOpenError("Cannot create file \"" + ShownName + "\". " + std::strerror(errno));
    std::setvbuf(Output, FileBuffer.data(), _IOFBF, FileBuffer.size());
    LastResult = beInitStream(&config, &SamplesPerChunk, &OutputBufferSize, &Stream);
    samplesPerChunk = SamplesPerChunk;
    if (LastResult != EncoderSuccess) {
        ShowOnMainThread(ShowError, "Error opening encoding stream " + std::to_string(LastResult));
        return;
    }
    OutputBuffer.resize(OutputBufferSize);
}

MP3writer::~MP3writer() {
    Release();
}

int32_t MP3writer::Encode(const int16_t* buffer, int32_t bytes) {
    if (!IsOpen() || bytes < 0)
        return -1;
    uint32_t produced = 0;
    LastResult = beEncodeChunk(Stream, uint32_t(bytes) / 2, buffer, OutputBuffer.data(), &produced);
    if (LastResult != EncoderSuccess || !WriteOutput(produced)) {
        Fail(LastResult);
        return -1;
    }
    return int32_t(produced);
}

bool MP3writer::Close() {
    if (!IsOpen())
        return false;
    uint32_t produced = 0;
    LastResult = beDeinitStream(Stream, OutputBuffer.data(), &produced);
    if (LastResult != EncoderSuccess || !WriteOutput(produced))
        return Fail(LastResult);
    if (VbrHeader && !WriteVbrHeader())
        return Fail(LastResult);
    const bool closed = std::fclose(Output) == 0;
    Output = nullptr;
    if (!closed)
        return FailFile();
    Release();
    return true;
}

bool MP3writer::WriteOutput(uint32_t bytes) {
    if (bytes == 0 || std::fwrite(OutputBuffer.data(), 1, bytes, Output) == bytes)
        return true;
    FileError = errno;
    return false;
}

bool MP3writer::WriteVbrHeader() {
    uint32_t length = 0;
    LastResult = beLameTagFrame(Stream, OutputBuffer.data(), OutputBufferSize, &length);
    if (LastResult != EncoderSuccess)
        return false;
    // The encoder reserved the first frame of the stream, at the start of the file, for it.
    if (length == 0)
        return true;
    if (std::fseek(Output, 0, SEEK_SET) == 0)
        return WriteOutput(length);
    FileError = errno;
    return false;
}

bool MP3writer::Fail(uint32_t code) {
    Release();
    std::string text = "Data write error! " + std::to_string(code);
    if (FileError != 0)
        text += "\r\"" + ShownName + "\": " + std::strerror(FileError);
    ShowOnMainThread(ShowError, text);
    return false;
}

bool MP3writer::FailFile() {
    FileError = errno;
    return Fail(LastResult);
}

void MP3writer::Release() {
    if (Output)
        std::fclose(Output);
    Output = nullptr;
    beCloseStream(Stream);
    Stream = nullptr;
    OutputBuffer = {};
}
