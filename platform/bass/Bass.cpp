#include "Bass.h"

#include "StreamTable.h"

extern "C" {
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <array>
#include <cstring>
#include <string_view>

namespace {

// The plug-in names that loading accepts; FFmpeg reads all their formats without any plug-in.
constexpr std::array<std::string_view, 12> PluginNames = {
    "basswma.dll", "bass_aac.dll",  "bass_ac3.dll", "bass_ape.dll", "bass_mpc.dll", "bassflac.dll",
    "basswv.dll",  "bass_alac.dll", "bass_ofr.dll", "bass_spx.dll", "bass_tta.dll", "bassopus.dll"};

constexpr DWORD StreamFlags = BASS_STREAM_DECODE | BASS_SAMPLE_FLOAT;
constexpr size_t LargestAllocation = 64 << 20;

} // namespace

BOOL BASS_Init(int32_t, DWORD, DWORD, void*, const void*) {
    av_log_set_level(AV_LOG_QUIET);
    // A hostile file can make a demuxer ask for gigabytes (a tag chunk that claims 2 GB); no
    // file that the editor imports needs a single block this large.
    av_max_alloc(LargestAllocation);
    return TRUE_VALUE;
}

HPLUGIN BASS_PluginLoad(const char* file, DWORD) {
    if (!file)
        return 0;
    for (size_t i = 0; i < PluginNames.size(); ++i)
        if (PluginNames[i] == file)
            return HPLUGIN(i + 1);
    return 0;
}

HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags) {
    if (mem || !file || offset != 0 || length != 0 || (flags & StreamFlags) != StreamFlags)
        return 0;
    auto stream = DecodeStream::Open(static_cast<const char*>(file));
    return stream ? StreamTable::Add(std::move(stream)) : 0;
}

BOOL BASS_ChannelGetInfo(DWORD handle, BASS_CHANNELINFO* info) {
    const auto stream = StreamTable::Find(handle);
    if (!stream || !info)
        return FALSE_VALUE;
    *info = BASS_CHANNELINFO{DWORD(stream->SampleRate()),
                             DWORD(stream->Channels()),
                             StreamFlags,
                             0,
                             DWORD(stream->SourceBits()),
                             0,
                             0,
                             stream->FileName().c_str()};
    return TRUE_VALUE;
}

BOOL BASS_ChannelGetAttribute(DWORD handle, DWORD attribute, float* value) {
    const auto stream = StreamTable::Find(handle);
    if (!stream || !value || attribute != BASS_ATTRIB_FREQ)
        return FALSE_VALUE;
    *value = float(stream->SampleRate());
    return TRUE_VALUE;
}

QWORD BASS_ChannelGetLength(DWORD handle, DWORD mode) {
    const auto stream = StreamTable::Find(handle);
    if (!stream || mode != BASS_POS_BYTE || stream->LengthBytes() < 0)
        return BASS_UNKNOWN;
    return QWORD(stream->LengthBytes());
}

DWORD BASS_ChannelIsActive(DWORD handle) {
    const auto stream = StreamTable::Find(handle);
    return stream && stream->Active() ? BASS_ACTIVE_PLAYING : BASS_ACTIVE_STOPPED;
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    const auto stream = StreamTable::Find(handle);
    if (!stream || !buffer)
        return DWORD(-1);
    const DWORD limited = length > 0x7FFFFFF0u ? 0x7FFFFFF0u : length;
    return DWORD(stream->Read(static_cast<float*>(buffer), int32_t(limited)));
}

QWORD BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode) {
    const auto stream = StreamTable::Find(handle);
    if (!stream)
        return BASS_UNKNOWN;
    const int64_t value = mode == BASS_FILEPOS_CURRENT ? stream->FilePosition()
                          : mode == BASS_FILEPOS_END   ? stream->FileSize()
                                                       : -1;
    return value < 0 ? BASS_UNKNOWN : QWORD(value);
}

BOOL BASS_StreamFree(HSTREAM handle) {
    return StreamTable::Remove(handle) ? TRUE_VALUE : FALSE_VALUE;
}

BOOL BASS_PluginFree(HPLUGIN handle) {
    return handle >= 1 && handle <= PluginNames.size() ? TRUE_VALUE : FALSE_VALUE;
}

BOOL BASS_Free() {
    return TRUE_VALUE;
}
