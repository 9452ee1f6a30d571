#pragma once

#include "TMpegSettingsChoice.h"

#include <cstdint>

/// The MP3 settings dialog as the save request sees it: shown modally on the main thread for a
/// document of a given rate. The application gives the document its one dialog; tests give a fake.
class IMpegSettingsDialog {
public:
    virtual ~IMpegSettingsDialog() = default;

    /// Shows the dialog for a document at `docrate` Hz; true when the user pressed OK, with
    /// `choice` then holding the settings.
    virtual bool Execute(int32_t docrate, TMpegSettingsChoice& choice) = 0;
};
