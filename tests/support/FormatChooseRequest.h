#pragma once

#include "AcmTypes.h"

#include <cstdint>

/// A format choice request as the save makes it: the chooser offers what `source` converts to,
/// starts on the format in `Buffer` (531 bytes) and writes the choice back there. `Choose` points
/// into the object, which therefore is neither copied nor moved.
struct FormatChooseRequest {
    /// `Buffer` starts out holding `start`.
    FormatChooseRequest(const WAVEFORMATEX& source, const WaveFormatBlock& start,
                        uint32_t style = ACMFORMATCHOOSE_STYLEF_INITTOWFXSTRUCT)
        : Source(source)
        , Buffer(start) {
        Choose.fdwStyle = style;
        Choose.pwfx = Buffer.data();
        Choose.cbwfx = uint32_t(Buffer.size());
        Choose.pszTitle = "Choose format...";
        Choose.fdwEnum = ACM_FORMATENUMF_CONVERT;
        Choose.pwfxEnum = &Source;
    }
    /// `Buffer` starts out holding the source format itself.
    explicit FormatChooseRequest(const WAVEFORMATEX& source)
        : FormatChooseRequest(source, MakeFormatBlock(source)) {}
    FormatChooseRequest(const FormatChooseRequest&) = delete;
    FormatChooseRequest& operator=(const FormatChooseRequest&) = delete;

    WAVEFORMATEX Source;
    WaveFormatBlock Buffer;
    ACMFORMATCHOOSE Choose;
};
