#pragma once

#include "AcmTypes.h"
#include "IStreamConverter.h"

#include <string>
#include <vector>

/// Handle of an open conversion stream.
using HACMSTREAM = IStreamConverter*;

/// Our audio-compression layer: format details, the formats a source converts to, and
/// conversion streams from 16-bit PCM into every format of the codec registry. Every call
/// returns 0 or an MMSYSERR_/ACMERR_ code and never throws.
///
/// System() is the layer itself; the methods are virtual so that tests can make any call fail.
/// A stream is used by one thread at a time; the layer itself keeps no state.
class AudioCompression {
public:
    static AudioCompression& System();
    virtual ~AudioCompression() = default;

    /// Fills `details` for `details.dwFormatTag` (flag ACM_FORMATTAGDETAILSF_FORMATTAG): the
    /// tag's name and its largest format size.
    virtual uint32_t FormatTagDetails(ACMFORMATTAGDETAILS& details, uint32_t flags);
    /// The attributes of a format as the chooser shows them, such as
    /// "44,100 Hz, 16 Bit, Stereo  172 kb/sec".
    virtual uint32_t FormatDetails(const uint8_t* format, std::string& text);
    /// Every format, in registry order, that `source` converts to.
    virtual uint32_t FormatEnumConvertible(const WAVEFORMATEX& source,
                                           std::vector<WaveFormatBlock>& formats);

    /// Opens a stream from `source` to the format record `target` (ACM_STREAMOPENF_NONREALTIME
    /// or 0). ACMERR_NOTPOSSIBLE when no codec converts between them.
    virtual uint32_t StreamOpen(HACMSTREAM& stream, const WAVEFORMATEX& source,
                                const uint8_t* target, uint32_t flags);
    /// The destination bytes that `input` source bytes need (ACM_STREAMSIZEF_SOURCE).
    virtual uint32_t StreamSize(HACMSTREAM stream, uint32_t input, uint32_t& output,
                                uint32_t flags);
    virtual uint32_t StreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header,
                                         uint32_t flags);
    /// Converts the prepared header's source into its destination with the
    /// ACM_STREAMCONVERTF_* flags and sets the used lengths.
    virtual uint32_t StreamConvert(HACMSTREAM stream, ACMSTREAMHEADER& header, uint32_t flags);
    virtual uint32_t StreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header,
                                           uint32_t flags);
    /// Frees the stream.
    virtual uint32_t StreamClose(HACMSTREAM stream, uint32_t flags);
};
