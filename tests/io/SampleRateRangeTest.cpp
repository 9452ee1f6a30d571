// The loader, the WAV writer's codecs and the sound layer agree on one range of sample rates: a
// document at either end of it loads, is offered and saved as PCM and can be played; a file just
// outside it is refused at load.
#include "SampleRateRange.h"
#include "AppServices.h"
#include "AudioCompression.h"
#include "FakeUserInterface.h"
#include "IDirectSound8.h"
#include "IFormatChooser.h"
#include "Settings.h"
#include "Signals.h"
#include "TLoadWorker.h"
#include "TSaveOperations.h"
#include "TestDocument.h"
#include "TestFiles.h"
#include "Twavefile.h"
#include "WavInspection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

/// A chooser that takes the format the request starts on.
class TakeStartFormat : public IFormatChooser {
public:
    uint32_t Choose(ACMFORMATCHOOSE&) override { return 0; }
};

class SampleRateRange : public testing::Test {
protected:
    SampleRateRange() {
        Settings.tempfolder = Temp.Path() + "/";
        TSaveOperations::Register();
        IFormatChooser::Install(&Chooser);
    }
    ~SampleRateRange() override { IFormatChooser::Install(nullptr); }

    /// Loads a stereo WAV file at `rate` through the decoder.
    void LoadAt(uint32_t rate, const std::vector<int16_t>& samples) {
        const std::string source = Sources.File("source.wav");
        WriteSampleFile(source, 2, int32_t(rate), samples);
        Document.loadfile(source);
    }

    ScopedWorker Worker{opload, &TLoadWorker::loadworker};
    FakeUserInterface Ui;
    TempDir Temp;
    TempDir Sources;
    TakeStartFormat Chooser;
    Twavefile Document;
};

TEST_F(SampleRateRange, EndsOfTheRangeLoadSaveAsPcmAndPlay) {
    for (const uint32_t rate : {MinSampleRate, MaxSampleRate}) {
        const std::vector<int16_t> samples = Ramp(2 * 3000, -32768, 37);
        LoadAt(rate, samples);
        ASSERT_TRUE(Document.ready) << rate;
        ASSERT_FALSE(Document.loadfailed) << rate;
        EXPECT_EQ(Document.samplerate, int32_t(rate));

        WAVEFORMATEX pcm;
        FillPCMFormat(rate, 2, 16, pcm);
        std::vector<WaveFormatBlock> offered;
        ASSERT_EQ(AudioCompression::System().FormatEnumConvertible(pcm, offered), 0u);
        EXPECT_TRUE(std::count(offered.begin(), offered.end(), MakeFormatBlock(pcm)) == 1) << rate;

        const std::string target = Sources.File("saved.wav");
        ASSERT_TRUE(TSaveOperations::saverange(Document, target, 0, uint32_t(Document.frames)));
        EXPECT_TRUE(Ui.Errors.Messages.empty()) << rate;
        const RiffLayout layout = ReadRiff(target);
        ASSERT_NE(layout.Find("data"), nullptr) << rate;
        EXPECT_TRUE(ToSamples(layout.Find("data")->Data) == samples) << rate;

        IDirectSound8 sound("null");
        DSBUFFERDESC description{};
        description.dwSize = sizeof description;
        description.dwBufferBytes = pcm.nAvgBytesPerSec;
        description.lpwfxFormat = &pcm;
        std::shared_ptr<IDirectSoundBuffer> buffer;
        EXPECT_EQ(sound.CreateSoundBuffer(&description, buffer, nullptr), DS_OK) << rate;
    }
}

TEST_F(SampleRateRange, RatesOutsideTheRangeAreRefusedAtLoad) {
    for (const uint32_t rate : {MinSampleRate - 1, MaxSampleRate + 1, 768000u}) {
        Ui.Messages.Boxes.clear();
        LoadAt(rate, Ramp(2 * 1000, -32768, 37));
        EXPECT_TRUE(Document.loadfailed) << rate;
        ASSERT_EQ(Ui.Messages.Boxes.size(), 1u) << rate;
        EXPECT_EQ(Ui.Messages.Boxes[0].Text,
                  "Could not import audio file. Format not supported or file broken");
    }
}

} // namespace
