#pragma once

#include "AcmTypes.h"
#include "AudioCompression.h"

#include <cstddef>
#include <string>
#include <vector>

/// What the format chooser offers for one request, without any window: the format tags, for
/// each tag its formats with their attribute text ("44,100 Hz, 16 Bit, Stereo  172 kb/sec"),
/// and the entry to start on. Only formats that the request's enumeration format converts to
/// are offered (ACM_FORMATENUMF_CONVERT).
class FormatChoice {
public:
    struct Entry {
        WaveFormatBlock Format;
        std::string Attributes;
    };
    struct Tag {
        uint16_t FormatTag;
        std::string Name;
        std::vector<Entry> Formats;
    };

    explicit FormatChoice(const ACMFORMATCHOOSE& request,
                          AudioCompression& acm = AudioCompression::System());

    /// 0 when there is something to choose; otherwise why not.
    uint32_t Status() const { return Result; }
    const std::vector<Tag>& Tags() const { return List; }
    /// Where to start: the request's own format with ACMFORMATCHOOSE_STYLEF_INITTOWFXSTRUCT
    /// when it is offered, otherwise the enumeration format, otherwise the first entry.
    size_t InitialTag() const { return StartTag; }
    size_t InitialFormat() const { return StartFormat; }

    /// Writes the entry into `request`'s buffer, zero-filled first. Returns 0, or
    /// MMSYSERR_INVALPARAM for an entry that does not exist or a buffer too small for it.
    uint32_t Accept(size_t tag, size_t format, ACMFORMATCHOOSE& request) const;

private:
    bool Find(const uint8_t* format, size_t& tag, size_t& entry) const;

    uint32_t Result = 0;
    std::vector<Tag> List;
    size_t StartTag = 0;
    size_t StartFormat = 0;
};
