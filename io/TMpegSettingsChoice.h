#pragma once

#include "LameEnc.h"

#include <cstdint>

/// What the user chose in the MPEG Layer3 settings dialog, as list positions; turned into the
/// encoder configuration for one document by `EncoderConfig`.
struct TMpegSettingsChoice {
    int32_t Bitrate = 0;    ///< position in the "Bitrate:" list
    int32_t MaxBitrate = 0; ///< position in the "Maximum Bitrate:" list
    int32_t VbrMode = 0;    ///< 0 constant, 1 variable, 2 average bitrate
    int32_t VbrQuality = 0; ///< the quality slider, 0 … 8
    int32_t AvgBitrate = 0; ///< position in the "Targeted Bitrate:" list
    bool Crc = false;       ///< "Checksum"

    /// The encoder configuration for a document of `sampleRate` Hz and `channels` channels; every
    /// byte not named here is 0.
    TEncoderConfig EncoderConfig(int32_t sampleRate, int32_t channels) const;
};
