#pragma once

#include "AcmTypes.h"

#include <cstdint>

/// Asks the user for the target format of a WAV save. The application installs the dialog
/// (io/dialogs); tests install a chooser of their own, so that saves run without a window.
/// Called on the main thread.
class IFormatChooser {
public:
    virtual ~IFormatChooser() = default;

    /// Offers the formats that `request` asks for. Returns 0 when the user chose one: the
    /// request's buffer then holds it, zero-filled after its extra bytes. ACMERR_CANCELED when
    /// the user cancelled; another non-zero code when nothing could be offered. The buffer is
    /// left as it was unless 0 is returned.
    virtual uint32_t Choose(ACMFORMATCHOOSE& request) = 0;

    /// The installed chooser, or null. The caller keeps ownership of what it installs.
    static IFormatChooser* Installed();
    static void Install(IFormatChooser* chooser);
    /// Choose through the installed chooser; MMSYSERR_ERROR when none is installed.
    static uint32_t Show(ACMFORMATCHOOSE& request);
};
