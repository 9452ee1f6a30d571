#include "TBASSDecoder.h"

#include "Exceptions.h"
#include "SampleRateRange.h"
#include "Simd.h"
#include "Tags.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* PluginFiles[] = {
    "basswma.dll", "bass_aac.dll",  "bass_ac3.dll", "bass_ape.dll", "bass_mpc.dll", "bassflac.dll",
    "basswv.dll",  "bass_alac.dll", "bass_ofr.dll", "bass_spx.dll", "bass_tta.dll", "bassopus.dll"};
constexpr const char* TagFormats[] = {"%TRCK", "%TITL", "%ARTI", "%ALBM", "%GNRE", "%YEAR"};

constexpr int32_t ReadBytes = 32768;
constexpr int64_t HeaderSize = 44;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void Put16(uint8_t* at, uint32_t value) {
    at[0] = uint8_t(value);
    at[1] = uint8_t(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
    Put16(at, value);
    Put16(at + 2, value >> 16);
}

std::array<uint8_t, HeaderSize> Header(uint16_t channels, uint32_t rate) {
    std::array<uint8_t, HeaderSize> header{};
    std::memcpy(&header[0], "RIFF", 4);
    std::memcpy(&header[8], "WAVEfmt ", 8);
    Put32(&header[16], 16);
    Put16(&header[20], 1);
    Put16(&header[22], channels);
    Put32(&header[24], rate);
    Put32(&header[28], rate * channels * 2u);
    Put16(&header[32], channels * 2u);
    Put16(&header[34], 16);
    std::memcpy(&header[36], "data", 4);
    return header;
}

void Write(std::FILE* file, const void* data, size_t bytes, const std::string& name) {
    if (bytes > 0 && std::fwrite(data, 1, bytes, file) != bytes)
        throw EWriteError("Cannot write file \"" + name + "\". " + std::strerror(errno));
}

void Patch32(std::FILE* file, long offset, uint32_t value, const std::string& name) {
    uint8_t bytes[4];
    Put32(bytes, value);
    if (std::fseek(file, offset, SEEK_SET) != 0)
        throw EWriteError("Cannot write file \"" + name + "\". " + std::strerror(errno));
    Write(file, bytes, 4, name);
}

} // namespace

TBASSDecoder::TBASSDecoder(std::string fileName, std::string tempName, ProgressSink progress,
                           int64_t maxFileSize)
    : FileName(std::move(fileName))
    , TempName(std::move(tempName))
    , Progress(std::move(progress))
    , SizeLimit(maxFileSize)
    , TagTexts(6) {
    BASS_Init(-1, 44100, 0, nullptr, nullptr);
    for (const char* plugin : PluginFiles)
        Plugin = BASS_PluginLoad(plugin, 0);
    FloatBuffer.resize(ReadBytes / sizeof(float));
    SampleBuffer.resize(ReadBytes / sizeof(float));
    Stream = BASS_StreamCreateFile(FALSE_VALUE, FileName.c_str(), 0, 0,
                                   BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT);
    if (Stream == 0 || !BASS_ChannelGetInfo(Stream, &Info))
        return;
    BASS_ChannelGetAttribute(Stream, BASS_ATTRIB_FREQ, &Frequency);
    // The count and rate are checked before anything is sized by them: the peak builder and the
    // document hold at most two channels here, and a document at a rate outside the program's
    // range could be neither played nor saved.
    const bool channelsFit = Info.chans >= 1 && Info.chans <= 2;
    const bool rateFits = Frequency >= float(MinSampleRate) && Frequency < float(MaxSampleRate + 1);
    if (channelsFit) {
        ChannelCount = uint16_t(Info.chans);
        if (rateFits)
            Rate = uint32_t(Frequency);
    }
    ReadTags();
    if (!channelsFit || !rateFits)
        return;
    Peaks = std::make_unique<TFilter>(ChannelCount);
    IsUsable = true;
}

TBASSDecoder::~TBASSDecoder() {
    Peaks.reset();
    BASS_StreamFree(Stream);
    BASS_PluginFree(Plugin);
    BASS_Free();
}

void TBASSDecoder::ReadTags() {
    for (size_t i = 0; i < TagTexts.size(); ++i) {
        const char* text = TAGS_Read(Stream, TagFormats[i]);
        TagTexts[i] = text ? text : "";
    }
}

bool TBASSDecoder::DecodeToFile() {
    if (Stream == 0 || !IsUsable)
        return false;
    File file(std::fopen(TempName.c_str(), "wb"));
    if (!file)
        throw EFOpenError("Cannot create file \"" + TempName + "\". " + std::strerror(errno));
    const auto header = Header(ChannelCount, Rate);
    Write(file.get(), header.data(), header.size(), TempName);

    const QWORD length = BASS_ChannelGetLength(Stream, BASS_POS_BYTE);
    int64_t total = 0;
    int64_t written = HeaderSize;
    int32_t last = 0;
    while (BASS_ChannelIsActive(Stream)) {
        const DWORD got = BASS_ChannelGetData(Stream, FloatBuffer.data(), ReadBytes);
        if (got == DWORD(-1))
            return false;
        if (got > 0) {
            const int32_t samples = int32_t(got / sizeof(float));
            if (written + int64_t(samples) * 2 > SizeLimit)
                return false;
            ConvertFromFloat(FloatBuffer.data(), SampleBuffer.data(), 2, samples);
            Write(file.get(), SampleBuffer.data(), size_t(samples) * 2, TempName);
            Peaks->Feed(SampleBuffer.data(), samples);
            written += int64_t(samples) * 2;
            total += got;
        }
        const int32_t percent = Percent(total, length);
        if (percent > last) {
            last = percent;
            if (Progress)
                Progress(percent);
        }
    }
    Patch32(file.get(), 4, uint32_t(written - 8), TempName);
    Patch32(file.get(), 40, uint32_t(written - HeaderSize), TempName);
    if (std::fclose(file.release()) != 0)
        throw EWriteError("Cannot write file \"" + TempName + "\". " + std::strerror(errno));
    Size = written - HeaderSize;
    return true;
}

int32_t TBASSDecoder::Percent(int64_t total, QWORD length) const {
    // The stated length when there is one; otherwise how far the file has been read.
    int64_t done = total;
    int64_t whole = length != BASS_UNKNOWN ? int64_t(length) : 0;
    if (whole <= 0) {
        const QWORD position = BASS_StreamGetFilePosition(Stream, BASS_FILEPOS_CURRENT);
        const QWORD size = BASS_StreamGetFilePosition(Stream, BASS_FILEPOS_END);
        if (position == BASS_UNKNOWN || size == BASS_UNKNOWN || size == 0)
            return 0;
        done = int64_t(position);
        whole = int64_t(size);
    }
    // In floating point: a position or length from a hostile file can be near the 64-bit limit.
    return int32_t(std::clamp(double(done) * 100.0 / double(whole), 0.0, 100.0));
}
