#include "FormatChoice.h"

#include <algorithm>
#include <cstring>

namespace {

/// The bytes that make up a format record: the WAVEFORMATEX and its extra bytes (16 for PCM).
size_t RecordSize(const uint8_t* format) {
    const WAVEFORMATEX f = ReadWaveFormat(format);
    return f.wFormatTag == WAVE_FORMAT_PCM ? 16 : sizeof(WAVEFORMATEX) + f.cbSize;
}

} // namespace

FormatChoice::FormatChoice(const ACMFORMATCHOOSE& request, AudioCompression& acm) {
    if (request.cbStruct != sizeof(ACMFORMATCHOOSE) || !request.pwfx ||
        request.cbwfx < sizeof(WAVEFORMATEX) || !(request.fdwEnum & ACM_FORMATENUMF_CONVERT) ||
        !request.pwfxEnum) {
        Result = MMSYSERR_INVALPARAM;
        return;
    }
    std::vector<WaveFormatBlock> formats;
    Result = acm.FormatEnumConvertible(*request.pwfxEnum, formats);
    if (Result == 0 && formats.empty())
        Result = ACMERR_NOTPOSSIBLE;
    if (Result != 0)
        return;
    for (const auto& format : formats) {
        const uint16_t tag = ReadWaveFormat(format.data()).wFormatTag;
        auto it = std::find_if(List.begin(), List.end(),
                               [tag](const Tag& t) { return t.FormatTag == tag; });
        if (it == List.end()) {
            ACMFORMATTAGDETAILS details;
            details.dwFormatTag = tag;
            acm.FormatTagDetails(details, ACM_FORMATTAGDETAILSF_FORMATTAG);
            List.push_back({tag, details.szFormatTag, {}});
            it = List.end() - 1;
        }
        std::string text;
        acm.FormatDetails(format.data(), text);
        it->Formats.push_back({format, text});
    }
    WaveFormatBlock source{};
    std::memcpy(source.data(), request.pwfxEnum, sizeof(WAVEFORMATEX));
    const bool fromRequest = (request.fdwStyle & ACMFORMATCHOOSE_STYLEF_INITTOWFXSTRUCT) &&
                             Find(request.pwfx, StartTag, StartFormat);
    if (!fromRequest && !Find(source.data(), StartTag, StartFormat))
        StartTag = StartFormat = 0;
}

bool FormatChoice::Find(const uint8_t* format, size_t& tag, size_t& entry) const {
    const size_t size = RecordSize(format);
    for (size_t t = 0; t < List.size(); ++t)
        for (size_t e = 0; e < List[t].Formats.size(); ++e) {
            const uint8_t* offered = List[t].Formats[e].Format.data();
            if (RecordSize(offered) == size && std::memcmp(offered, format, size) == 0) {
                tag = t;
                entry = e;
                return true;
            }
        }
    return false;
}

uint32_t FormatChoice::Accept(size_t tag, size_t format, ACMFORMATCHOOSE& request) const {
    if (Result != 0 || tag >= List.size() || format >= List[tag].Formats.size() || !request.pwfx)
        return MMSYSERR_INVALPARAM;
    const WaveFormatBlock& chosen = List[tag].Formats[format].Format;
    const size_t size = sizeof(WAVEFORMATEX) + ReadWaveFormat(chosen.data()).cbSize;
    if (size > request.cbwfx)
        return MMSYSERR_INVALPARAM;
    std::memset(request.pwfx, 0, request.cbwfx);
    std::memcpy(request.pwfx, chosen.data(), size);
    return MMSYSERR_NOERROR;
}
