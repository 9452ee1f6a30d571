#pragma once

#include "WaveFormat.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

/// Records, flags and result codes of our audio-compression layer (AudioCompression). They keep
/// the shapes and values that the program's writers and the format chooser rely on.

/// Size of a target format block: a WAVEFORMATEX followed by its extra bytes, zero-filled.
constexpr uint32_t WaveFormatBlockSize = 531;
using WaveFormatBlock = std::array<uint8_t, WaveFormatBlockSize>;

/// Result codes: 0 is success.
constexpr uint32_t MMSYSERR_NOERROR = 0;
constexpr uint32_t MMSYSERR_ERROR = 1;
constexpr uint32_t MMSYSERR_INVALHANDLE = 5;
constexpr uint32_t MMSYSERR_NOMEM = 7;
constexpr uint32_t MMSYSERR_INVALFLAG = 10;
constexpr uint32_t MMSYSERR_INVALPARAM = 11;
constexpr uint32_t ACMERR_NOTPOSSIBLE = 512;
constexpr uint32_t ACMERR_UNPREPARED = 514;
constexpr uint32_t ACMERR_CANCELED = 515;

/// Flags of AudioCompression::StreamOpen, StreamSize and FormatTagDetails.
constexpr uint32_t ACM_STREAMOPENF_NONREALTIME = 0x04;
constexpr uint32_t ACM_STREAMSIZEF_SOURCE = 0x00;
constexpr uint32_t ACM_FORMATTAGDETAILSF_FORMATTAG = 0x01;

/// Flags of AudioCompression::StreamConvert.
constexpr uint32_t ACM_STREAMCONVERTF_BLOCKALIGN = 0x04;
constexpr uint32_t ACM_STREAMCONVERTF_START = 0x10;
constexpr uint32_t ACM_STREAMCONVERTF_END = 0x20;

/// Status bits of a stream header.
constexpr uint32_t ACMSTREAMHEADER_STATUSF_DONE = 0x00010000;
constexpr uint32_t ACMSTREAMHEADER_STATUSF_PREPARED = 0x00020000;

/// Style and enumeration flags of the format chooser.
constexpr uint32_t ACMFORMATCHOOSE_STYLEF_INITTOWFXSTRUCT = 0x40;
constexpr uint32_t ACM_FORMATENUMF_CONVERT = 0x00100000;

/// Format tags offered by the codec registry.
constexpr uint16_t WAVE_FORMAT_ADPCM = 0x0002;
constexpr uint16_t WAVE_FORMAT_IEEE_FLOAT = 0x0003;
constexpr uint16_t WAVE_FORMAT_ALAW = 0x0006;
constexpr uint16_t WAVE_FORMAT_MULAW = 0x0007;
constexpr uint16_t WAVE_FORMAT_IMA_ADPCM = 0x0011;
constexpr uint16_t WAVE_FORMAT_GSM610 = 0x0031;

/// One conversion request: the caller's source and destination buffers and, after the
/// conversion, how many bytes of each were used.
struct ACMSTREAMHEADER {
    uint32_t cbStruct = sizeof(ACMSTREAMHEADER);
    uint32_t fdwStatus = 0;
    uint8_t* pbSrc = nullptr;
    uint32_t cbSrcLength = 0;
    uint32_t cbSrcLengthUsed = 0;
    uint8_t* pbDst = nullptr;
    uint32_t cbDstLength = 0;
    uint32_t cbDstLengthUsed = 0;
};

/// What FormatTagDetails tells about one format tag.
struct ACMFORMATTAGDETAILS {
    uint32_t cbStruct = sizeof(ACMFORMATTAGDETAILS);
    uint16_t dwFormatTag = 0;
    /// The largest format record (WAVEFORMATEX plus extra bytes) of this tag; 16 for PCM.
    uint32_t cbFormatSize = 0;
    std::string szFormatTag;
};

/// The format chooser's request: `pwfx` holds `cbwfx` bytes and, with the style flag
/// ACMFORMATCHOOSE_STYLEF_INITTOWFXSTRUCT, the format to start on; with ACM_FORMATENUMF_CONVERT
/// only formats that `pwfxEnum` converts to are offered.
struct ACMFORMATCHOOSE {
    uint32_t cbStruct = sizeof(ACMFORMATCHOOSE);
    uint32_t fdwStyle = 0;
    uint8_t* pwfx = nullptr;
    uint32_t cbwfx = 0;
    std::string pszTitle;
    uint32_t fdwEnum = 0;
    const WAVEFORMATEX* pwfxEnum = nullptr;
};

/// The WAVEFORMATEX at the start of a format record.
inline WAVEFORMATEX ReadWaveFormat(const uint8_t* record) {
    WAVEFORMATEX format;
    std::memcpy(&format, record, sizeof format);
    return format;
}

/// The format of plain fixed-size samples (`bits` per sample, no extra bytes): one frame is one
/// sample per channel, so the block is one frame.
inline WAVEFORMATEX MakeSampleFormat(uint16_t tag, uint32_t rate, uint32_t channels,
                                     uint32_t bits) {
    WAVEFORMATEX format{};
    format.wFormatTag = tag;
    format.nChannels = uint16_t(channels);
    format.nSamplesPerSec = rate;
    format.wBitsPerSample = uint16_t(bits);
    format.nBlockAlign = uint16_t(bits / 8 * channels);
    format.nAvgBytesPerSec = rate * format.nBlockAlign;
    format.cbSize = 0;
    return format;
}

/// A zero-filled format block holding `format` and its `format.cbSize` extra bytes.
inline WaveFormatBlock MakeFormatBlock(const WAVEFORMATEX& format, const void* extra = nullptr) {
    WaveFormatBlock block{};
    std::memcpy(block.data(), &format, sizeof format);
    if (extra && format.cbSize > 0 && format.cbSize <= WaveFormatBlockSize - sizeof format)
        std::memcpy(block.data() + sizeof format, extra, format.cbSize);
    return block;
}
