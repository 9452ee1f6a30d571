#pragma once

#include "LameEnc.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

/// Shows an error text to the user and returns when the user has closed it. Called on the main
/// thread only.
using TShowError = std::function<void(const std::string& text)>;

/// Writes one MP3 file from 16-bit PCM: Create → Encode per chunk → Close.
///
/// Lives for one save on the save operation's thread. Its two failure messages ("Error opening
/// encoding stream " and "Data write error! ", each followed by the encoder's result code; a
/// failure of the file adds, after a carriage return, the file's name and the system's reason) go
/// to `showError` on the main thread, and the writer waits until they are closed. After any failure
/// the writer has released the encoder and the file, `Encode` returns −1 and `Close` false; the
/// caller then discards the file. A writer destroyed without a successful `Close` releases
/// everything without finishing the file.
class MP3writer {
public:
    /// Creates `fileName` (emptying a file of that name) and opens an encoder stream with
    /// `config`. `samplesPerChunk` receives the 16-bit samples (all channels counted) that each
    /// `Encode` call takes at most. Raises EFOpenError when the file cannot be created; an encoder
    /// that refuses the configuration is shown to the user and leaves `IsOpen` false. Messages name
    /// `shownName`, or `fileName` when it is empty.
    MP3writer(std::string fileName, uint32_t& samplesPerChunk, const TEncoderConfig& config,
              TShowError showError, std::string shownName = {});
    ~MP3writer();
    MP3writer(const MP3writer&) = delete;
    MP3writer& operator=(const MP3writer&) = delete;

    /// True while the encoder stream is open (from a successful Create until Close or a failure).
    bool IsOpen() const { return Stream != nullptr; }
    /// The encoder's result code of its last call (0 = success).
    uint32_t Result() const { return LastResult; }

    /// Encodes `bytes` div 2 samples of `buffer` (whole frames, at most one chunk) and writes the
    /// output; returns the MP3 bytes written, or −1 on failure.
    int32_t Encode(const int16_t* buffer, int32_t bytes);

    /// Flushes the encoder, writes the last bytes and, when the configuration asked for it, the
    /// VBR header over the first frame, and closes the file. True when all of it succeeded.
    bool Close();

private:
    bool WriteOutput(uint32_t bytes);
    bool WriteVbrHeader();
    bool Fail(uint32_t code);
    /// Fails after a file operation that left its reason in errno.
    bool FailFile();
    void Release();

    std::string FileName;
    std::string ShownName;
    /// The system's error number of the file operation that failed; 0 while none has.
    int FileError = 0;
    std::FILE* Output = nullptr;
    TEncoderStream* Stream = nullptr;
    uint32_t SamplesPerChunk = 0;
    uint32_t OutputBufferSize = 0;
    uint32_t LastResult = 0;
    std::vector<uint8_t> OutputBuffer;
    std::vector<char> FileBuffer;
    bool VbrHeader = false;
    TShowError ShowError;
};
