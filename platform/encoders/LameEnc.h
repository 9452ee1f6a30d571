#pragma once

#include <cstddef>
#include <cstdint>

/// The MP3 encoder's stream interface, on libmp3lame.
///
/// A caller fills a `TEncoderConfig`, opens a stream with `beInitStream`, which tells it how many
/// 16-bit samples (all channels counted) each `beEncodeChunk` call takes and how large the output
/// buffer must be, encodes chunk after chunk, flushes with `beDeinitStream` and releases the stream
/// with `beCloseStream`. When the configuration asks for a VBR header, the first frame of the
/// output is a placeholder; `beLameTagFrame` gives the finished header frame to write over it once
/// every byte of the stream has been written. A stream is used by one thread at a time.
///
/// Every call returns 0 on success or one of the `TEncoderResult` codes.

#pragma pack(push, 1)
/// The encoder configuration record, laid out byte for byte as the encoder reads it (331 bytes,
/// little-endian). Flags are 32-bit with −1 (all bits set) for true and 0 for false.
struct TEncoderConfig {
    uint32_t Kind;          ///< kind of configuration: `EncoderConfigKind`
    uint32_t StructVersion; ///< `EncoderConfigVersion`
    uint32_t StructSize;    ///< `sizeof(TEncoderConfig)`
    uint32_t SampleRate;    ///< input rate in Hz
    uint32_t ReSampleRate;  ///< output rate in Hz, 0 lets the encoder choose
    int32_t Mode;           ///< a `TEncoderChannelMode`
    uint32_t Bitrate;       ///< kbps: the constant rate; unused for VBR and ABR
    uint32_t MaxBitrate;    ///< kbps: the highest rate of VBR, and of ABR above its target
    int32_t Preset;         ///< a `TEncoderPreset`
    uint32_t MpegVersion;   ///< 1 MPEG-1, 0 MPEG-2; informational, the output rate decides
    uint32_t PsyModel;      ///< 0
    uint32_t Emphasis;      ///< 0 none, 1 50/15 µs, 3 CCITT J.17
    int32_t Private;        ///< flag: the header's private bit
    int32_t Crc;            ///< flag: protect every frame header with a CRC
    int32_t Copyright;      ///< flag: the header's copyright bit
    int32_t Original;       ///< flag: the header's original-medium bit
    int32_t WriteVbrHeader; ///< flag: reserve the first frame for the VBR (LAME) header
    int32_t EnableVbr;      ///< flag: variable or average bitrate instead of constant
    int32_t VbrQuality;     ///< 0 (best) … 9, for VBR
    uint32_t VbrAbrBps;     ///< ABR's average bitrate in bits per second
    int32_t VbrMethod;      ///< a `TEncoderVbrMethod`
    int32_t NoReservoir;    ///< flag: no bit reservoir
    int32_t StrictIso;      ///< flag: strict ISO compliance
    uint16_t Quality;       ///< algorithm quality 0 (best, slowest) … 9
    uint8_t Reserved[237];  ///< always 0
};
#pragma pack(pop)

static_assert(sizeof(TEncoderConfig) == 331);
static_assert(offsetof(TEncoderConfig, Kind) == 0);
static_assert(offsetof(TEncoderConfig, StructVersion) == 4);
static_assert(offsetof(TEncoderConfig, StructSize) == 8);
static_assert(offsetof(TEncoderConfig, SampleRate) == 12);
static_assert(offsetof(TEncoderConfig, ReSampleRate) == 16);
static_assert(offsetof(TEncoderConfig, Mode) == 20);
static_assert(offsetof(TEncoderConfig, Bitrate) == 24);
static_assert(offsetof(TEncoderConfig, MaxBitrate) == 28);
static_assert(offsetof(TEncoderConfig, Preset) == 32);
static_assert(offsetof(TEncoderConfig, MpegVersion) == 36);
static_assert(offsetof(TEncoderConfig, PsyModel) == 40);
static_assert(offsetof(TEncoderConfig, Emphasis) == 44);
static_assert(offsetof(TEncoderConfig, Private) == 48);
static_assert(offsetof(TEncoderConfig, Crc) == 52);
static_assert(offsetof(TEncoderConfig, Copyright) == 56);
static_assert(offsetof(TEncoderConfig, Original) == 60);
static_assert(offsetof(TEncoderConfig, WriteVbrHeader) == 64);
static_assert(offsetof(TEncoderConfig, EnableVbr) == 68);
static_assert(offsetof(TEncoderConfig, VbrQuality) == 72);
static_assert(offsetof(TEncoderConfig, VbrAbrBps) == 76);
static_assert(offsetof(TEncoderConfig, VbrMethod) == 80);
static_assert(offsetof(TEncoderConfig, NoReservoir) == 84);
static_assert(offsetof(TEncoderConfig, StrictIso) == 88);
static_assert(offsetof(TEncoderConfig, Quality) == 92);
static_assert(offsetof(TEncoderConfig, Reserved) == 94);

constexpr uint32_t EncoderConfigKind = 256;
constexpr uint32_t EncoderConfigVersion = 1;
constexpr int32_t EncoderTrue = -1;

enum TEncoderChannelMode : int32_t {
    EncoderStereo = 0,
    EncoderJointStereo = 1,
    EncoderDualChannel = 2,
    EncoderMono = 3,
};

/// The presets this layer knows; they confirm the mode that the other fields select.
enum TEncoderPreset : int32_t {
    EncoderNoPreset = -1,
    EncoderPresetAbr = 11,
    EncoderPresetCbr = 12,
};

enum TEncoderVbrMethod : int32_t {
    EncoderVbrNone = -1,
    EncoderVbrDefault = 0,
    EncoderVbrOld = 1,
    EncoderVbrNew = 2,
    EncoderVbrMtrh = 3,
    EncoderVbrAbr = 4,
};

enum TEncoderResult : uint32_t {
    EncoderSuccess = 0,
    EncoderInvalidFormat = 1,     ///< not a configuration record of this kind and size
    EncoderInvalidParameters = 2, ///< the encoder refuses the settings or the samples
    EncoderNoMoreHandles = 3,     ///< the encoder cannot be created
    EncoderInvalidHandle = 4,     ///< no open stream
    EncoderBufferTooSmall = 5,    ///< more samples than a chunk, or too little output room
};

/// An open encoder stream; owned by the caller until `beCloseStream`.
struct TEncoderStream;

/// Opens a stream. On success `samplesPerChunk` receives the 16-bit samples (all channels) of one
/// `beEncodeChunk` call and `outputBufferSize` the bytes its output buffer must hold.
uint32_t beInitStream(const TEncoderConfig* config, uint32_t* samplesPerChunk,
                      uint32_t* outputBufferSize, TEncoderStream** stream);

/// Encodes `samples` interleaved 16-bit samples (a whole number of frames, at most one chunk) into
/// `output` (`outputBufferSize` bytes); `outputBytes` receives the bytes produced, often 0.
uint32_t beEncodeChunk(TEncoderStream* stream, uint32_t samples, const int16_t* pcm,
                       uint8_t* output, uint32_t* outputBytes);

/// Encodes what the encoder still holds and writes the last bytes to `output`.
uint32_t beDeinitStream(TEncoderStream* stream, uint8_t* output, uint32_t* outputBytes);

/// Copies the finished VBR header frame to `output` (`size` bytes); `outputBytes` receives its
/// length, 0 when the configuration asked for no header. Call after `beDeinitStream`; the frame
/// replaces the placeholder at the start of the stream's output.
uint32_t beLameTagFrame(TEncoderStream* stream, uint8_t* output, uint32_t size,
                        uint32_t* outputBytes);

/// Releases the stream; nullptr gives `EncoderInvalidHandle`.
uint32_t beCloseStream(TEncoderStream* stream);
