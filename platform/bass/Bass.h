#pragma once

#include <cstdint>

/// The decoding calls the decoder makes, carried out by FFmpeg: decode-only streams of
/// interleaved 32-bit float samples read from local files (see DecodeStream for what a stream
/// accepts). Every format the editor imports is built in, so loading a plug-in does nothing.
/// Results: 0 (FALSE) for failure, −1 for an unknown length.
/// Any thread may call; one stream is read by one thread at a time.

using BOOL = int32_t;
using DWORD = uint32_t;
using QWORD = uint64_t;
using HSTREAM = uint32_t;
using HPLUGIN = uint32_t;

constexpr BOOL FALSE_VALUE = 0;
constexpr BOOL TRUE_VALUE = 1;

constexpr DWORD BASS_SAMPLE_FLOAT = 0x100;
constexpr DWORD BASS_STREAM_DECODE = 0x200000;
constexpr DWORD BASS_ATTRIB_FREQ = 1;
constexpr DWORD BASS_POS_BYTE = 0;
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;
constexpr DWORD BASS_FILEPOS_CURRENT = 0;
constexpr DWORD BASS_FILEPOS_END = 2;
constexpr QWORD BASS_UNKNOWN = ~QWORD(0);

/// A stream's format: rate, channel count, flags (those of the stream's creation), type (0),
/// source resolution in bits (0 when unknown), plug-in (0), sample (0), file name.
struct BASS_CHANNELINFO {
    DWORD freq;
    DWORD chans;
    DWORD flags;
    DWORD ctype;
    DWORD origres;
    HPLUGIN plugin;
    DWORD sample;
    const char* filename;
};

/// Makes FFmpeg quiet and caps its largest allocation at 64 MiB; device, rate, flags, window
/// and class id are not used. Always TRUE.
BOOL BASS_Init(int32_t device, DWORD freq, DWORD flags, void* window, const void* clsid);
/// Nothing to load: returns a non-zero handle for the name of a known plug-in, 0 for any other.
HPLUGIN BASS_PluginLoad(const char* file, DWORD flags);
/// Opens a decode-only float stream on the whole of a local file. Only `mem` FALSE, offset 0,
/// length 0 and flags with BASS_STREAM_DECODE and BASS_SAMPLE_FLOAT are supported; 0 on failure.
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags);
BOOL BASS_ChannelGetInfo(DWORD handle, BASS_CHANNELINFO* info);
/// BASS_ATTRIB_FREQ only: the stream's rate.
BOOL BASS_ChannelGetAttribute(DWORD handle, DWORD attribute, float* value);
/// Bytes of float data of the whole stream (mode BASS_POS_BYTE), BASS_UNKNOWN when the container
/// does not state its length or the handle is unknown.
QWORD BASS_ChannelGetLength(DWORD handle, DWORD mode);
/// BASS_ACTIVE_PLAYING while samples remain or once decoding has failed, BASS_ACTIVE_STOPPED at
/// the end or for a bad handle.
DWORD BASS_ChannelIsActive(DWORD handle);
/// Up to `length` bytes of whole frames of interleaved floats; 0 at the end, (DWORD)−1 for a bad
/// handle or a stream whose decoding failed.
DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);
/// BASS_FILEPOS_CURRENT: bytes of the file read so far; BASS_FILEPOS_END: the file's size;
/// BASS_UNKNOWN otherwise.
QWORD BASS_StreamGetFilePosition(HSTREAM handle, DWORD mode);
BOOL BASS_StreamFree(HSTREAM handle);
BOOL BASS_PluginFree(HPLUGIN handle);
BOOL BASS_Free();
