#include "LameEnc.h"

#include <lame.h>

#include <algorithm>
#include <memory>
#include <vector>

struct TEncoderStream {
    lame_t Lame = nullptr;
    int Channels = 0;
    uint32_t SamplesPerChunk = 0;
    uint32_t OutputBufferSize = 0;
    std::vector<int16_t> Scratch; // LAME's interleaved entry takes a writable buffer
};

namespace {

bool IsFlag(int32_t value) {
    return value != 0;
}

vbr_mode VbrModeOf(const TEncoderConfig& config) {
    if (!IsFlag(config.EnableVbr) || config.VbrMethod == EncoderVbrNone)
        return vbr_off;
    if (config.VbrMethod == EncoderVbrAbr || config.Preset == EncoderPresetAbr)
        return vbr_abr;
    return config.VbrMethod == EncoderVbrOld ? vbr_rh : vbr_mtrh;
}

bool KnownPreset(int32_t preset) {
    return preset == EncoderNoPreset || preset == EncoderPresetAbr || preset == EncoderPresetCbr;
}

MPEG_mode LameMode(int32_t mode) {
    switch (mode) {
    case EncoderJointStereo:
        return JOINT_STEREO;
    case EncoderDualChannel:
        return DUAL_CHANNEL;
    case EncoderMono:
        return MONO;
    default:
        return STEREO;
    }
}

void SetHeaderBits(lame_t lame, const TEncoderConfig& config) {
    lame_set_error_protection(lame, IsFlag(config.Crc));
    lame_set_copyright(lame, IsFlag(config.Copyright));
    lame_set_original(lame, IsFlag(config.Original));
    lame_set_extension(lame, IsFlag(config.Private));
    lame_set_emphasis(lame, int(config.Emphasis));
    // Without the flag LAME keeps its own default, which already limits frames as ISO requires.
    if (IsFlag(config.StrictIso))
        lame_set_strict_ISO(lame, 1);
    lame_set_disable_reservoir(lame, IsFlag(config.NoReservoir));
}

// Variable and average bitrates have no floor: the quality or the target decides the rate, and
// LAME aborts when a floor lies above the ceiling. The ceiling of an average rate is never below
// its target.
void SetBitrates(lame_t lame, const TEncoderConfig& config) {
    const vbr_mode mode = VbrModeOf(config);
    lame_set_VBR(lame, mode);
    if (mode == vbr_off) {
        lame_set_brate(lame, int(config.Bitrate));
        return;
    }
    if (mode == vbr_abr) {
        const int target = int(config.VbrAbrBps / 1000);
        lame_set_VBR_mean_bitrate_kbps(lame, target);
        lame_set_VBR_max_bitrate_kbps(lame, std::max(int(config.MaxBitrate), target));
    } else {
        lame_set_VBR_q(lame, std::clamp(config.VbrQuality, 0, 9));
        lame_set_VBR_max_bitrate_kbps(lame, int(config.MaxBitrate));
    }
}

uint32_t Configure(lame_t lame, const TEncoderConfig& config) {
    if (!KnownPreset(config.Preset) || config.SampleRate == 0 || config.Mode < 0 ||
        config.Mode > EncoderMono)
        return EncoderInvalidParameters;
    lame_set_in_samplerate(lame, int(config.SampleRate));
    if (config.ReSampleRate != 0)
        lame_set_out_samplerate(lame, int(config.ReSampleRate));
    lame_set_num_channels(lame, config.Mode == EncoderMono ? 1 : 2);
    lame_set_mode(lame, LameMode(config.Mode));
    lame_set_quality(lame, std::min<int>(config.Quality, 9));
    lame_set_bWriteVbrTag(lame, IsFlag(config.WriteVbrHeader));
    SetHeaderBits(lame, config);
    SetBitrates(lame, config);
    return lame_init_params(lame) < 0 ? EncoderInvalidParameters : EncoderSuccess;
}

uint32_t LameFailure(int code) {
    return code == -1 ? EncoderBufferTooSmall : EncoderInvalidParameters;
}

} // namespace

uint32_t beInitStream(const TEncoderConfig* config, uint32_t* samplesPerChunk,
                      uint32_t* outputBufferSize, TEncoderStream** stream) {
    *stream = nullptr;
    if (config->Kind != EncoderConfigKind || config->StructVersion != EncoderConfigVersion ||
        config->StructSize != sizeof(TEncoderConfig))
        return EncoderInvalidFormat;
    auto opened = std::make_unique<TEncoderStream>();
    opened->Lame = lame_init();
    if (!opened->Lame)
        return EncoderNoMoreHandles;
    if (const uint32_t result = Configure(opened->Lame, *config); result != EncoderSuccess) {
        lame_close(opened->Lame);
        return result;
    }
    const int frameSize = lame_get_framesize(opened->Lame);
    opened->Channels = lame_get_num_channels(opened->Lame);
    opened->SamplesPerChunk = uint32_t(frameSize * opened->Channels);
    // LAME's worst case for one call: 1.25 × samples per channel + 7200 bytes.
    opened->OutputBufferSize = uint32_t(frameSize + frameSize / 4 + 7200);
    *samplesPerChunk = opened->SamplesPerChunk;
    *outputBufferSize = opened->OutputBufferSize;
    *stream = opened.release();
    return EncoderSuccess;
}

uint32_t beEncodeChunk(TEncoderStream* stream, uint32_t samples, const int16_t* pcm,
                       uint8_t* output, uint32_t* outputBytes) {
    *outputBytes = 0;
    if (!stream)
        return EncoderInvalidHandle;
    if (samples > stream->SamplesPerChunk)
        return EncoderBufferTooSmall;
    if (samples % uint32_t(stream->Channels) != 0)
        return EncoderInvalidParameters;
    const int frames = int(samples) / stream->Channels;
    int produced;
    if (stream->Channels == 1) {
        produced = lame_encode_buffer(stream->Lame, pcm, pcm, frames, output,
                                      int(stream->OutputBufferSize));
    } else {
        stream->Scratch.assign(pcm, pcm + samples);
        produced = lame_encode_buffer_interleaved(stream->Lame, stream->Scratch.data(), frames,
                                                  output, int(stream->OutputBufferSize));
    }
    if (produced < 0)
        return LameFailure(produced);
    *outputBytes = uint32_t(produced);
    return EncoderSuccess;
}

uint32_t beDeinitStream(TEncoderStream* stream, uint8_t* output, uint32_t* outputBytes) {
    *outputBytes = 0;
    if (!stream)
        return EncoderInvalidHandle;
    const int produced = lame_encode_flush(stream->Lame, output, int(stream->OutputBufferSize));
    if (produced < 0)
        return LameFailure(produced);
    *outputBytes = uint32_t(produced);
    return EncoderSuccess;
}

uint32_t beLameTagFrame(TEncoderStream* stream, uint8_t* output, uint32_t size,
                        uint32_t* outputBytes) {
    *outputBytes = 0;
    if (!stream)
        return EncoderInvalidHandle;
    const size_t length = lame_get_lametag_frame(stream->Lame, output, size);
    if (length > size)
        return EncoderBufferTooSmall;
    *outputBytes = uint32_t(length);
    return EncoderSuccess;
}

uint32_t beCloseStream(TEncoderStream* stream) {
    if (!stream)
        return EncoderInvalidHandle;
    lame_close(stream->Lame);
    delete stream;
    return EncoderSuccess;
}
