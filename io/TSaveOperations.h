#pragma once

#include "IMpegSettingsDialog.h"

#include <cstdint>
#include <string>

class Twavefile;

/// Saving a document, or a range of its frames, as WAV (operation `opsavewav`) or MP3
/// (`opsavemp3`).
///
/// The requests run on the main thread: they store the target and the range, ask for the output
/// format with the dialog that the target's extension calls for (".mp3" or ".wav", in any case),
/// and run the operation; they return when it has ended. The workers run on the operation's thread.
/// A save writes a new file beside the target and renames it over the target only when everything
/// succeeded, so a failed save leaves an existing target as it was and no partial file behind; the
/// document keeps reading its own temporary files, so saving over its source file is safe. Only
/// `savefile` marks the document saved.
class TSaveOperations {
public:
    /// Registers both workers with the worker table. Called at program start and by tests.
    static void Register();

    /// The MP3 settings dialog; not owned, installed at program start (tests install a fake).
    /// Without one an MP3 save starts nothing. WAV saves ask the installed IFormatChooser.
    static void SetMpegSettingsDialog(IMpegSettingsDialog* dialog);

    /// Saves frames startFrame … endFrame − 1 (clamped to the document) to `fileName`. The document
    /// keeps its modified state. True when a save ran, whether or not it succeeded.
    static bool saverange(Twavefile& document, const std::string& fileName, uint32_t startFrame,
                          uint32_t endFrame);
    /// Saves the whole document over its own file; a save that succeeds marks it unmodified.
    static bool savefile(Twavefile& document);
    /// Asks for the format of `targetname` and runs the save; false when nothing was started (an
    /// extension other than .mp3 or .wav, a cancelled dialog, an MP3 of more than two channels, or
    /// an operation already running).
    static bool chooseformat(Twavefile& document);

    static void savemp3worker(Twavefile& document);
    static void savewavworker(Twavefile& document);
};
