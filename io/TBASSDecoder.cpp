#include "TBASSDecoder.h"

#include "Exceptions.h"
#include "SampleRateRange.h"
#include "Simd.h"
#include "TBlockHandOff.h"
#include "TSampleFileStream.h"
#include "Tags.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr const char* PluginFiles[] = {
    "basswma.dll", "bass_aac.dll",  "bass_ac3.dll", "bass_ape.dll", "bass_mpc.dll", "bassflac.dll",
    "basswv.dll",  "bass_alac.dll", "bass_ofr.dll", "bass_spx.dll", "bass_tta.dll", "bassopus.dll"};
constexpr const char* TagFormats[] = {"%TRCK", "%TITL", "%ARTI", "%ALBM", "%GNRE", "%YEAR"};

constexpr int32_t ReadBytes = 32768;
constexpr int64_t HeaderSize = 44;

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

[[noreturn]] void FailWrite(const std::string& name, int error) {
    throw EWriteError("Cannot write file \"" + name + "\". " + std::strerror(error));
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
    // Float bytes of the stated length; the 16-bit samples take half of them.
    const QWORD length = BASS_ChannelGetLength(Stream, BASS_POS_BYTE);
    const int64_t stated = length == BASS_UNKNOWN ? 0 : int64_t(length / 2);
    if (stated > SizeLimit - HeaderSize) {
        LimitReached = true;
        return false;
    }
    TSampleFileStream file(TempName, HeaderSize + stated);
    const auto header = Header(ChannelCount, Rate);
    file.Write(header.data(), HeaderSize);
    {
        TBlockHandOff output(ChannelCount, file, *Peaks);
        if (!DecodeBlocks(output, length))
            return false;
        output.Finish();
    }
    Size = file.Written() - HeaderSize;
    PatchHeader();
    return true;
}

int64_t TBASSDecoder::LongestFrames() const {
    return ChannelCount == 0 ? 0 : (SizeLimit - HeaderSize) / (2 * int64_t(ChannelCount));
}

bool TBASSDecoder::DecodeBlocks(TBlockHandOff& output, QWORD length) {
    const int64_t room = LongestFrames() * ChannelCount;
    int64_t total = 0;
    int64_t samplesDone = 0;
    int32_t last = 0;
    while (BASS_ChannelIsActive(Stream)) {
        const DWORD got = BASS_ChannelGetData(Stream, FloatBuffer.data(), ReadBytes);
        if (got == DWORD(-1))
            return false;
        const int64_t samples = int64_t(got / sizeof(float));
        if (samplesDone + samples > room) {
            LimitReached = true;
            return false;
        }
        Convert(output, samples);
        samplesDone += samples;
        total += got;
        const int32_t percent = Percent(total, length);
        if (percent > last) {
            last = percent;
            if (Progress)
                Progress(percent);
        }
    }
    return true;
}

void TBASSDecoder::Convert(TBlockHandOff& output, int64_t samples) {
    // The fill buffer holds a whole number of reads for one or two channels, but a read may be
    // short, so it can end inside one.
    int64_t done = 0;
    while (done < samples) {
        const std::span<int16_t> room = output.Room();
        const int64_t count = std::min<int64_t>(int64_t(room.size()), samples - done);
        ConvertFromFloat(FloatBuffer.data() + done, room.data(), 2, int32_t(count));
        output.Commit(count);
        done += count;
    }
}

void TBASSDecoder::PatchHeader() const {
    const int handle = open(TempName.c_str(), O_WRONLY | O_CLOEXEC);
    if (handle < 0)
        FailWrite(TempName, errno);
    uint8_t riff[4];
    uint8_t data[4];
    Put32(riff, uint32_t(Size + HeaderSize - 8));
    Put32(data, uint32_t(Size));
    const bool written = pwrite(handle, riff, 4, 4) == 4 && pwrite(handle, data, 4, 40) == 4;
    const int writeError = errno;
    if (!written) {
        close(handle);
        FailWrite(TempName, writeError);
    }
    if (close(handle) != 0)
        FailWrite(TempName, errno);
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
