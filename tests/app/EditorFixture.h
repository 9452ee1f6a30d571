#pragma once

#include "FakeFileDialogs.h"
#include "IFormatChooser.h"
#include "IMpegSettingsDialog.h"
#include "NullSoundScope.h"
#include "TMessageDlgRecorder.h"
#include "TProgram.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TEditorForm;
class TMDIChild;

/// Saves as WAV in the document's own format, without a window.
class SameFormatChooser : public IFormatChooser {
public:
    uint32_t Choose(ACMFORMATCHOOSE&) override {
        ++Calls;
        return 0;
    }
    int Calls = 0;
};

/// Answers the MP3 settings with the dialog's first choices (128 kbps constant bitrate).
class DefaultMpegSettings : public IMpegSettingsDialog {
public:
    bool Execute(int32_t, TMpegSettingsChoice& choice) override {
        choice = TMpegSettingsChoice{};
        choice.Bitrate = 8;
        return true;
    }
};

/// The whole editor as the program runs it (main window, dialogs, the real engine and its
/// workers, the progress window), on the null sound device, with its settings and temporary files
/// in a private folder, the WAV and MP3 format questions answered without a window and the file
/// dialogs answered by `FileDialogs`.
class EditorFixture : public testing::Test {
protected:
    EditorFixture();
    ~EditorFixture() override;

    TEditorForm& Main() { return *Program->Main; }
    /// A 16-bit WAV file in the test's folder.
    std::string MakeWav(const std::string& name, const std::vector<int16_t>& samples,
                        int32_t channels = 1, int32_t rate = 8000);
    /// Opens a file as the Open command does and waits until its window shows it.
    TMDIChild* Open(const std::string& fileName);
    /// Lets queued events and deferred deletions run.
    static void Settle();
    /// The interleaved samples of a file, read by sox.
    static std::vector<int16_t> SoxSamples(const std::string& fileName);

    NullSoundScope Sound;
    TempDir Dir;
    SameFormatChooser Chooser;
    DefaultMpegSettings Mpeg;
    FakeFileDialogs FileDialogs;
    std::unique_ptr<TProgram> Program;
};
