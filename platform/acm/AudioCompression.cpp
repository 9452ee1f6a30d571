#include "AudioCompression.h"

#include "CodecRegistry.h"
#include "PcmCodec.h"

#include <cstdio>
#include <limits>
#include <new>

namespace {

/// A number with a comma between each group of three digits, as in "44,100".
std::string Grouped(uint32_t value) {
    const std::string digits = std::to_string(value);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::string ChannelText(uint32_t channels) {
    if (channels == 1)
        return "Mono";
    if (channels == 2)
        return "Stereo";
    return std::to_string(channels) + " Channels";
}

} // namespace

AudioCompression& AudioCompression::System() {
    static AudioCompression layer;
    return layer;
}

uint32_t AudioCompression::FormatTagDetails(ACMFORMATTAGDETAILS& details, uint32_t flags) {
    if (flags != ACM_FORMATTAGDETAILSF_FORMATTAG || details.cbStruct != sizeof details)
        return MMSYSERR_INVALFLAG;
    const IAudioCodec* codec = CodecRegistry::Instance().Find(details.dwFormatTag);
    if (!codec)
        return ACMERR_NOTPOSSIBLE;
    details.cbFormatSize = codec->LargestFormatSize();
    details.szFormatTag = codec->Name();
    return MMSYSERR_NOERROR;
}

uint32_t AudioCompression::FormatDetails(const uint8_t* format, std::string& text) {
    const WAVEFORMATEX f = ReadWaveFormat(format);
    if (!CodecRegistry::Instance().Find(f.wFormatTag))
        return ACMERR_NOTPOSSIBLE;
    text = Grouped(f.nSamplesPerSec) + " Hz, ";
    if (f.wBitsPerSample > 0)
        text += std::to_string(f.wBitsPerSample) + " Bit, ";
    const uint32_t kilobytes = (f.nAvgBytesPerSec + 512) / 1024;
    text += ChannelText(f.nChannels) + "  " + std::to_string(kilobytes) + " kb/sec";
    return MMSYSERR_NOERROR;
}

uint32_t AudioCompression::FormatEnumConvertible(const WAVEFORMATEX& source,
                                                 std::vector<WaveFormatBlock>& formats) {
    formats.clear();
    if (!PcmCodec::IsSource(source))
        return ACMERR_NOTPOSSIBLE;
    try {
        for (const auto& codec : CodecRegistry::Instance().Codecs()) {
            const auto targets = codec->TargetsFor(source);
            formats.insert(formats.end(), targets.begin(), targets.end());
        }
    } catch (const std::bad_alloc&) {
        return MMSYSERR_NOMEM;
    }
    return MMSYSERR_NOERROR;
}

uint32_t AudioCompression::StreamOpen(HACMSTREAM& stream, const WAVEFORMATEX& source,
                                      const uint8_t* target, uint32_t flags) {
    stream = nullptr;
    if (flags & ~ACM_STREAMOPENF_NONREALTIME)
        return MMSYSERR_INVALFLAG;
    if (!target)
        return MMSYSERR_INVALPARAM;
    const IAudioCodec* codec = CodecRegistry::Instance().Find(ReadWaveFormat(target).wFormatTag);
    if (!codec)
        return ACMERR_NOTPOSSIBLE;
    try {
        stream = codec->Open(source, target).release();
    } catch (const std::bad_alloc&) {
        return MMSYSERR_NOMEM;
    } catch (const std::exception&) {
        return MMSYSERR_ERROR;
    }
    return stream ? MMSYSERR_NOERROR : ACMERR_NOTPOSSIBLE;
}

uint32_t AudioCompression::StreamSize(HACMSTREAM stream, uint32_t input, uint32_t& output,
                                      uint32_t flags) {
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    if (flags != ACM_STREAMSIZEF_SOURCE)
        return MMSYSERR_INVALFLAG;
    const uint64_t size = stream->DestinationSize(input);
    if (size > std::numeric_limits<uint32_t>::max())
        return ACMERR_NOTPOSSIBLE;
    output = uint32_t(size);
    return MMSYSERR_NOERROR;
}

uint32_t AudioCompression::StreamPrepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header,
                                               uint32_t /*flags*/) {
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    if (header.cbStruct != sizeof header || !header.pbSrc || !header.pbDst)
        return MMSYSERR_INVALPARAM;
    header.fdwStatus |= ACMSTREAMHEADER_STATUSF_PREPARED;
    return MMSYSERR_NOERROR;
}

uint32_t AudioCompression::StreamConvert(HACMSTREAM stream, ACMSTREAMHEADER& header,
                                         uint32_t flags) {
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    if (!(header.fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED))
        return ACMERR_UNPREPARED;
    header.cbSrcLengthUsed = 0;
    header.cbDstLengthUsed = 0;
    try {
        if (!stream->Convert(header.pbSrc, header.cbSrcLength, header.pbDst, header.cbDstLength,
                             flags, header.cbSrcLengthUsed, header.cbDstLengthUsed))
            return MMSYSERR_ERROR;
    } catch (const std::bad_alloc&) {
        return MMSYSERR_NOMEM;
    } catch (const std::exception&) {
        return MMSYSERR_ERROR;
    }
    header.fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
    return MMSYSERR_NOERROR;
}

uint32_t AudioCompression::StreamUnprepareHeader(HACMSTREAM stream, ACMSTREAMHEADER& header,
                                                 uint32_t /*flags*/) {
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    if (!(header.fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED))
        return ACMERR_UNPREPARED;
    header.fdwStatus &= ~(ACMSTREAMHEADER_STATUSF_PREPARED | ACMSTREAMHEADER_STATUSF_DONE);
    return MMSYSERR_NOERROR;
}

uint32_t AudioCompression::StreamClose(HACMSTREAM stream, uint32_t /*flags*/) {
    if (!stream)
        return MMSYSERR_INVALHANDLE;
    delete stream;
    return MMSYSERR_NOERROR;
}
