#include "WAVWriter.h"

#include "EMakerError.h"
#include "FourCC.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t OpenFlags = MMIO_CREATE | MMIO_READWRITE | MMIO_DENYWRITE | MMIO_ALLOCBUF;
/// The largest buffer the writer asks for; anything above counts as memory that is not there.
constexpr uint64_t LargestBuffer = 256u * 1024 * 1024;

/// Sizes `buffer` to `size` bytes; false when the memory is not there.
bool Allocate(std::vector<uint8_t>& buffer, uint64_t size) {
    if (size > LargestBuffer)
        return false;
    try {
        buffer.assign(size_t(size), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

} // namespace

WAVWriter::WAVWriter(const WAVEFORMATEX& sourceFormat, const WaveFormatBlock& targetFormat,
                     AudioCompression& acm, RiffOpener opener)
    : Acm(acm)
    , OpenFile(std::move(opener))
    , SourceFormat(sourceFormat)
    , TargetFormat(targetFormat) {}

WAVWriter::~WAVWriter() {
    Release();
}

uint16_t WAVWriter::TargetTag() const {
    return ReadWaveFormat(TargetFormat.data()).wFormatTag;
}

uint32_t WAVWriter::FramesPerBlock() const {
    const WAVEFORMATEX target = ReadWaveFormat(TargetFormat.data());
    if (target.wFormatTag == WAVE_FORMAT_PCM || target.cbSize < 2)
        return 1;
    uint16_t perBlock = 0;
    std::memcpy(&perBlock, TargetFormat.data() + sizeof target, sizeof perBlock);
    return std::max<uint32_t>(perBlock, 1);
}

void WAVWriter::Open(const std::string& fileName, const std::string& shownName) {
    if (IsOpen)
        return;
    Release();
    FileName = fileName;
    ShownName = shownName.empty() ? fileName : shownName;
    Frames = 0;
    Fill = 0;
    ConvertFlags = ACM_STREAMCONVERTF_START | ACM_STREAMCONVERTF_BLOCKALIGN;
    if (SourceFormat.nBlockAlign == 0 ||
        Acm.StreamOpen(Stream, SourceFormat, TargetFormat.data(), ACM_STREAMOPENF_NONREALTIME) !=
            MMSYSERR_NOERROR)
        Fail("Can not open conversion stream. Current codec support only one channel. Please "
             "select another codec at control panel");
    // 100 ms of source audio, rounded to the nearest frame, then up to whole codec blocks: a
    // block codec converts only whole blocks, and at low rates one block lasts longer than that.
    const uint64_t perBlock = FramesPerBlock();
    const uint64_t frames =
        (std::max<uint64_t>((uint64_t(SourceFormat.nSamplesPerSec) * 100 + 500) / 1000, 1) +
         perBlock - 1) /
        perBlock * perBlock;
    const uint64_t sourceSize = frames * SourceFormat.nBlockAlign;
    if (!Allocate(SourceBuffer, sourceSize))
        Fail("Not enougth memory for source buffer");
    SourceSize = uint32_t(sourceSize);
    if (Acm.StreamSize(Stream, SourceSize, DestinationSize, ACM_STREAMSIZEF_SOURCE) !=
        MMSYSERR_NOERROR)
        Fail("Can not get size of destination buffer");
    if (DestinationSize == 0)
        Fail("Source buffer to small for conversion");
    if (!Allocate(DestinationBuffer, DestinationSize))
        Fail("Not enougth memory for destination buffer");
    IsOpen = WriteHeader(fileName);
}

bool WAVWriter::WriteHeader(const std::string& fileName) {
    ACMFORMATTAGDETAILS details;
    details.dwFormatTag = TargetTag();
    if (Acm.FormatTagDetails(details, ACM_FORMATTAGDETAILSF_FORMATTAG) != MMSYSERR_NOERROR)
        Fail("Unable to get size of format description");
    errno = 0;
    File = OpenFile(fileName, OpenFlags);
    if (!File)
        FailFile("Can not open file", errno);
    RiffChunk = FactChunk = DataChunk = MMCKINFO{};
    MMCKINFO formatChunk{};
    uint64_t failures = 0;
    RiffChunk.fccType = FourCC('W', 'A', 'V', 'E');
    failures += File->CreateChunk(RiffChunk, MMIO_CREATERIFF);
    const uint32_t formatSize = std::min(details.cbFormatSize, WaveFormatBlockSize);
    formatChunk.ckid = FourCC('f', 'm', 't', ' ');
    formatChunk.cksize = formatSize;
    failures += File->CreateChunk(formatChunk, 0);
    failures += File->Write(TargetFormat.data(), int32_t(formatSize)) != int32_t(formatSize);
    failures += File->Ascend(formatChunk, 0);
    if (TargetTag() != WAVE_FORMAT_PCM) {
        FactChunk.ckid = FourCC('f', 'a', 'c', 't');
        FactChunk.cksize = 4;
        failures += File->CreateChunk(FactChunk, 0);
        failures += File->Write(&Frames, 4) != 4;
    }
    DataChunk.ckid = FourCC('d', 'a', 't', 'a');
    failures += File->CreateChunk(DataChunk, 0);
    if (failures != 0 || details.cbFormatSize > WaveFormatBlockSize)
        FailFile("Can not create file header", File->ErrorCode());
    return true;
}

uint32_t WAVWriter::Write(const void* buffer, int32_t bytes) {
    if (!IsOpen)
        return 0;
    BytesWritten = 0;
    const auto* source = static_cast<const uint8_t*>(buffer);
    uint32_t remaining = bytes > 0 ? uint32_t(bytes) : 0;
    while (remaining > 0) {
        const uint32_t take = std::min(remaining, SourceSize - Fill);
        std::memcpy(SourceBuffer.data() + Fill, source, take);
        Fill += take;
        source += take;
        remaining -= take;
        if (Fill == SourceSize)
            Convert(false);
    }
    return BytesWritten;
}

uint32_t WAVWriter::Convert(bool final) {
    ACMSTREAMHEADER header;
    header.pbSrc = SourceBuffer.data();
    header.cbSrcLength = Fill;
    header.pbDst = DestinationBuffer.data();
    header.cbDstLength = DestinationSize;
    if (Acm.StreamPrepareHeader(Stream, header, 0) != MMSYSERR_NOERROR)
        Fail("Can not preapre stream header");
    if (final)
        ConvertFlags = (ConvertFlags & ~ACM_STREAMCONVERTF_BLOCKALIGN) | ACM_STREAMCONVERTF_END;
    const uint32_t result = Acm.StreamConvert(Stream, header, ConvertFlags);
    ConvertFlags &= ~ACM_STREAMCONVERTF_START;
    if (result != MMSYSERR_NOERROR)
        Fail("Can not convert data");
    const uint32_t sourceUsed = std::min(header.cbSrcLengthUsed, Fill);
    const uint32_t destinationUsed = std::min(header.cbDstLengthUsed, DestinationSize);
    // At the end of the stream an empty conversion only says that nothing is left.
    if (sourceUsed == 0 && destinationUsed == 0 && !final)
        Fail("Destination buffer to small for conversion");
    Acm.StreamUnprepareHeader(Stream, header, 0);
    Frames += sourceUsed / SourceFormat.nBlockAlign;
    if (destinationUsed > 0) {
        const int32_t written = File->Write(DestinationBuffer.data(), int32_t(destinationUsed));
        if (written != int32_t(destinationUsed))
            FailFile("Failed to write data to file", File->ErrorCode());
        BytesWritten += destinationUsed;
    }
    Fill -= sourceUsed;
    std::memmove(SourceBuffer.data(), SourceBuffer.data() + sourceUsed, Fill);
    return destinationUsed;
}

void WAVWriter::Close() {
    if (!IsOpen)
        return;
    // The end call is made even with an empty source buffer, and repeated while it still
    // gives bytes, so that a converter's tail reaches the file.
    while (Convert(true) > 0) {
    }
    // Converted bytes may still wait in the file's buffer: a failure to write them is a data
    // write failure, not one of the header.
    if (File->Flush() != 0)
        FailFile("Failed to write data to file", File->ErrorCode());
    Fill = 0;
    IsOpen = false;
    bool failed = File->Ascend(DataChunk, 0) != 0;
    failed = failed || File->Ascend(RiffChunk, 0) != 0;
    if (!failed && TargetTag() != WAVE_FORMAT_PCM)
        failed = File->Seek(FactChunk.dwDataOffset, 0) == -1 || File->Write(&Frames, 4) != 4;
    failed = failed || File->Close() != 0;
    if (failed)
        FailFile("Can not correct file header", File->ErrorCode());
    Release();
}

void WAVWriter::Fail(const std::string& message) {
    Release();
    throw EMakerError(message, -1);
}

void WAVWriter::FailFile(const char* message, int code) {
    const std::string name = "\"" + ShownName + "\"";
    Fail(std::string(message) + "\r" + (code != 0 ? name + ": " + std::strerror(code) : name));
}

void WAVWriter::Release() {
    IsOpen = false;
    File.reset();
    if (Stream) {
        Acm.StreamClose(Stream, 0);
        Stream = nullptr;
    }
    std::vector<uint8_t>().swap(SourceBuffer);
    std::vector<uint8_t>().swap(DestinationBuffer);
    Fill = 0;
}
