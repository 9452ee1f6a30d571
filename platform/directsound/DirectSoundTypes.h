#pragma once

#include "WaveFormat.h"

#include <cstdint>

class Event;

/// Records, flags and result codes of the sound-buffer layer (IDirectSound8 and friends). The
/// values are the ones the playback code was written against; result codes are 32-bit, 0 means
/// success and any other value is a failure that `DSCheck` turns into an exception.

/// A 128-bit identifier, as used for interface and format identifiers.
struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];

    bool operator==(const GUID&) const = default;
};

constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
constexpr GUID IID_IDirectSound3DBuffer{
    0x279AFA86, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
constexpr GUID IID_IDirectSound3DListener{
    0x279AFA84, 0x4981, 0x11CE, {0xA5, 0x21, 0x00, 0x20, 0xAF, 0x0B, 0xE5, 0x60}};
constexpr GUID IID_IKsPropertySet{
    0x31EFAC30, 0x515C, 0x11D0, {0xA9, 0xAA, 0x00, 0xAA, 0x00, 0x61, 0xBE, 0x93}};
constexpr GUID IID_IDirectSoundNotify{
    0xB0210783, 0x89CD, 0x11D0, {0xAF, 0x08, 0x00, 0xA0, 0xC9, 0x25, 0xCD, 0x16}};
constexpr GUID KSDATAFORMAT_SUBTYPE_PCM{
    0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

#pragma pack(push, 1)
/// A wave format with a channel mask and a sub-format: 40 bytes.
struct WAVEFORMATEXTENSIBLE {
    WAVEFORMATEX Format;
    uint16_t wValidBitsPerSample;
    uint32_t dwChannelMask;
    GUID SubFormat;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEXTENSIBLE) == 40);

constexpr uint16_t WAVE_FORMAT_EXTENSIBLE = 0xFFFE;

/// Describes a sound buffer to create. `dwSize` must be sizeof(DSBUFFERDESC) (36 on a 32-bit
/// platform, where the format pointer takes 4 bytes; the size of this record here).
struct DSBUFFERDESC {
    uint32_t dwSize;
    uint32_t dwFlags;
    uint32_t dwBufferBytes;
    uint32_t dwReserved;
    const WAVEFORMATEX* lpwfxFormat;
    GUID guid3DAlgorithm;
};

/// One notification position: the event is signalled when the play cursor reaches the offset,
/// or when the buffer stops for `DSBPN_OFFSETSTOP`.
struct DSBPOSITIONNOTIFY {
    uint32_t dwOffset;
    Event* hEventNotify;
};

constexpr uint32_t DSBCAPS_PRIMARYBUFFER = 0x1;
constexpr uint32_t DSBCAPS_CTRL3D = 0x10;
constexpr uint32_t DSBCAPS_CTRLVOLUME = 0x80;
constexpr uint32_t DSBCAPS_CTRLPOSITIONNOTIFY = 0x100;
constexpr uint32_t DSBCAPS_GLOBALFOCUS = 0x8000;
constexpr uint32_t DSBCAPS_GETCURRENTPOSITION2 = 0x10000;

constexpr uint32_t DSBPLAY_LOOPING = 0x1;
constexpr uint32_t DSBLOCK_FROMWRITECURSOR = 0x1;
constexpr uint32_t DSBLOCK_ENTIREBUFFER = 0x2;
constexpr uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr uint32_t DSBSTATUS_LOOPING = 0x4;
constexpr uint32_t DSBPN_OFFSETSTOP = 0xFFFFFFFF;
constexpr uint32_t DSBSIZE_MIN = 4;
constexpr uint32_t DSBSIZE_MAX = 0x0FFFFFFF;

constexpr uint32_t DSSCL_NORMAL = 1;
constexpr uint32_t DSSCL_WRITEPRIMARY = 4;

constexpr int32_t DS_OK = 0;
constexpr int32_t E_NOINTERFACE = static_cast<int32_t>(0x80004002);
constexpr int32_t DSERR_ALLOCATED = static_cast<int32_t>(0x8878000A);
constexpr int32_t DSERR_CONTROLUNAVAIL = static_cast<int32_t>(0x8878001E);
constexpr int32_t DSERR_INVALIDPARAM = static_cast<int32_t>(0x80070057);
constexpr int32_t DSERR_INVALIDCALL = static_cast<int32_t>(0x88780032);
constexpr int32_t DSERR_GENERIC = static_cast<int32_t>(0x80004005);
constexpr int32_t DSERR_PRIOLEVELNEEDED = static_cast<int32_t>(0x88780046);
constexpr int32_t DSERR_OUTOFMEMORY = static_cast<int32_t>(0x8007000E);
constexpr int32_t DSERR_BADFORMAT = static_cast<int32_t>(0x88780064);
constexpr int32_t DSERR_UNSUPPORTED = static_cast<int32_t>(0x80004001);
constexpr int32_t DSERR_NODRIVER = static_cast<int32_t>(0x88780078);
constexpr int32_t DSERR_ALREADYINITIALIZED = static_cast<int32_t>(0x88780082);
constexpr int32_t DSERR_NOAGGREGATION = static_cast<int32_t>(0x80040110);
constexpr int32_t DSERR_BUFFERLOST = static_cast<int32_t>(0x88780096);
constexpr int32_t DSERR_OTHERAPPHASPRIO = static_cast<int32_t>(0x887800A0);
constexpr int32_t DSERR_UNINITIALIZED = static_cast<int32_t>(0x887800AA);
