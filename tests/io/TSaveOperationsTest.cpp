#include "TSaveOperations.h"

#include "FakeUserInterface.h"
#include "FileSizeLimit.h"
#include "IFormatChooser.h"
#include "MainThreadDispatcher.h"
#include "Mp3Probe.h"
#include "Signals.h"
#include "TestDocument.h"
#include "TestFiles.h"
#include "Twavefile.h"
#include "WavInspection.h"
#include "WriterHelpers.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {

using Strings = std::vector<std::string>;

/// An MP3 settings dialog that answers with a fixed choice, or cancels.
class FakeMpegDialog : public IMpegSettingsDialog {
public:
    bool Execute(int32_t docrate, TMpegSettingsChoice& choice) override {
        Rates.push_back(docrate);
        if (Cancel)
            return false;
        choice = Choice;
        return true;
    }
    TMpegSettingsChoice Choice;
    bool Cancel = false;
    std::vector<int32_t> Rates;
};

/// A format chooser that records its request and answers with `Result`, leaving the format the
/// request starts on as the choice.
class FakeChooser : public IFormatChooser {
public:
    uint32_t Choose(ACMFORMATCHOOSE& request) override {
        ++Calls;
        Request = request;
        std::memcpy(StartFormat.data(), request.pwfx, StartFormat.size());
        if (request.pwfxEnum)
            std::memcpy(&EnumFormat, request.pwfxEnum, sizeof EnumFormat);
        if (Result == 0 && Choice)
            std::memcpy(request.pwfx, Choice->data(), Choice->size());
        return Result;
    }
    std::optional<WaveFormatBlock> Choice; ///< the format "chosen"; the starting one when empty
    int Calls = 0;
    uint32_t Result = 0;
    ACMFORMATCHOOSE Request;
    WaveFormatBlock StartFormat{};
    WAVEFORMATEX EnumFormat{};
};

std::vector<int16_t> DataSamples(const std::string& path) {
    const RiffLayout layout = ReadRiff(path);
    const RiffChunk* data = layout.Find("data");
    if (!data)
        throw std::runtime_error("no data chunk in " + path);
    return ToSamples(data->Data);
}

std::vector<int16_t> Slice(const std::vector<int16_t>& samples, int32_t channels, int64_t start,
                           int64_t end) {
    return {samples.begin() + start * channels, samples.begin() + end * channels};
}

class SaveOperations : public testing::Test {
protected:
    void SetUp() override {
        TSaveOperations::Register();
        TSaveOperations::SetMpegSettingsDialog(&Mpeg);
        IFormatChooser::Install(&Chooser);
    }
    void TearDown() override {
        TSaveOperations::SetMpegSettingsDialog(nullptr);
        IFormatChooser::Install(nullptr);
    }

    /// Loads `samples` as a document whose audio lives in a temporary sample file of its own and
    /// whose name is `name` in the test folder; the progress seen so far is forgotten.
    void Load(int32_t channels, const std::vector<int16_t>& samples, int32_t rate = 44100,
              const std::string& name = "doc.wav") {
        const std::string temp = Dir.File("~we" + std::to_string(++Loads) + ".tmp");
        WriteSampleFile(temp, channels, rate, samples);
        ScopedWorker load(opload, SampleFileLoadWorker);
        Document.loadfile(temp);
        ASSERT_TRUE(Document.ready);
        Document.filename = Dir.File(name);
        Document.modified = true;
        Flush();
        Ui.Progress.Received.clear();
        Log.Events.clear();
    }

    /// Delivers the progress events still queued.
    static void Flush() { QCoreApplication::processEvents(); }

    FakeUserInterface Ui;
    TempDir Dir;
    Twavefile Document;
    EventLog Log{Document};
    FakeMpegDialog Mpeg;
    FakeChooser Chooser;
    int Loads = 0;
};

} // namespace

TEST_F(SaveOperations, WavRangeReportsProgressPerBlock) {
    const auto samples = LcgNoise(120000, 2, 20000);
    Load(2, samples);
    const std::string target = Dir.File("range.wav");
    ASSERT_TRUE(TSaveOperations::saverange(Document, target, 0, 100000));
    Flush();
    // 200,000 samples: three blocks of 64,000 and a rest; 0 equals the progress already shown.
    EXPECT_EQ(Ui.Progress.Received, (std::vector<int32_t>{33, 66, 0}));
    EXPECT_EQ(Document.progress, 0);
    EXPECT_EQ(Log.Events, Strings{"ready(1)"});
    EXPECT_EQ(DataSamples(target), Slice(samples, 2, 0, 100000));
    const ReaderView sox = SoxView(target);
    EXPECT_EQ(sox.Frames, 100000);
    EXPECT_EQ(sox.Channels, 2u);
    EXPECT_EQ(sox.Rate, 44100u);
}

TEST_F(SaveOperations, ViewReadingTheTableDuringASaveLeavesTheSavedSamplesExact) {
    // Like a view that redraws while the save runs: the main thread reads the document's table
    // all over, moving its read window, until the save has written most of its blocks.
    const auto samples = LcgNoise(44100 * 20, 2, 20000);
    Load(2, samples);
    int64_t reads = 0;
    Ui.Progress.OnShow = [&] {
        TLargeFile& table = *Document.table;
        for (; Document.progress < 90 && reads < 1000000; ++reads)
            table.ReadAt((reads * 7919 * TLargeFile::WindowSize / 3) % table.TotalSize & ~1);
    };
    const std::string target = Dir.File("during.wav");
    ASSERT_TRUE(TSaveOperations::saverange(Document, target, 0, uint32_t(Document.frames)));
    EXPECT_GT(reads, 0);
    EXPECT_TRUE(DataSamples(target) == samples);
}

TEST_F(SaveOperations, ChooserStartsOnTheDocumentsPcmFormat) {
    Load(1, LcgNoise(1000, 1, 1000), 22050);
    ASSERT_TRUE(TSaveOperations::saverange(Document, Dir.File("x.wav"), 0, 1000));
    ASSERT_EQ(Chooser.Calls, 1);
    EXPECT_EQ(Chooser.Request.pszTitle, "Choose format...");
    EXPECT_EQ(Chooser.Request.fdwStyle, 0x40u);
    EXPECT_EQ(Chooser.Request.fdwEnum, 0x100000u);
    EXPECT_EQ(Chooser.Request.cbwfx, 531u);
    ASSERT_NE(Chooser.Request.pwfxEnum, nullptr);
    const WAVEFORMATEX pcm = PcmFormat(22050, 1, 16);
    EXPECT_EQ(std::memcmp(Chooser.StartFormat.data(), &pcm, sizeof pcm), 0);
    EXPECT_EQ(std::memcmp(&Chooser.EnumFormat, &pcm, sizeof pcm), 0);
    EXPECT_TRUE(std::all_of(Chooser.StartFormat.begin() + 18, Chooser.StartFormat.end(),
                            [](uint8_t b) { return b == 0; }));
}

TEST_F(SaveOperations, RangeShorterThanABlockPostsNoProgress) {
    const auto samples = LcgNoise(20000, 2, 20000);
    Load(2, samples);
    const std::string target = Dir.File("short.wav");
    ASSERT_TRUE(TSaveOperations::saverange(Document, target, 5000, 15000));
    Flush();
    EXPECT_TRUE(Ui.Progress.Received.empty());
    EXPECT_EQ(DataSamples(target), Slice(samples, 2, 5000, 15000));
}

TEST_F(SaveOperations, RangeIsClampedToTheDocument) {
    const auto samples = LcgNoise(3000, 2, 20000);
    Load(2, samples);
    struct Case {
        uint32_t start, end;
        int64_t first, last;
    } cases[] = {{1000, 999999, 1000, 3000},
                 {5000, 6000, 3000, 3000},
                 {2000, 1000, 2000, 2000},
                 {0, 3000, 0, 3000}};
    for (const Case& c : cases) {
        const std::string target =
            Dir.File("clamp" + std::to_string(c.start) + "-" + std::to_string(c.end) + ".wav");
        ASSERT_TRUE(TSaveOperations::saverange(Document, target, c.start, c.end));
        EXPECT_EQ(DataSamples(target), Slice(samples, 2, c.first, c.last)) << target;
        EXPECT_EQ(SndfileView(target).Frames, c.last - c.first) << target;
        EXPECT_EQ(FfprobeView(target).Channels, 2u) << target;
    }
}

TEST_F(SaveOperations, EmptyRangeWritesValidEmptyFiles) {
    Load(2, LcgNoise(3000, 2, 20000));
    const std::string wav = Dir.File("empty.wav");
    ASSERT_TRUE(TSaveOperations::saverange(Document, wav, 100, 100));
    EXPECT_EQ(ReadRiff(wav).Ids(), (Strings{"fmt ", "data"}));
    EXPECT_TRUE(DataSamples(wav).empty());
    EXPECT_EQ(SndfileView(wav).Frames, 0);
    EXPECT_EQ(FfprobeView(wav).Channels, 2u);
    const std::string mp3 = Dir.File("empty.mp3");
    ASSERT_TRUE(TSaveOperations::saverange(Document, mp3, 100, 100));
    EXPECT_EQ(FirstFrameHeader(mp3) >> 21, 0x7FFu);
    EXPECT_EQ(Log.Events, (Strings{"ready(1)", "ready(1)"}));
}

TEST_F(SaveOperations, ExtensionOfTheFileNameDecides) {
    Load(2, LcgNoise(1000, 2, 20000));
    fs::create_directory(Dir.File("take.wav"));
    fs::create_directory(Dir.File("v.mp3"));
    struct Case {
        std::string name;
        bool started;
        int chooserCalls, dialogCalls;
    } cases[] = {{"upper.WAV", true, 1, 0},       {"lower.wav", true, 1, 0},
                 {"mixed.Mp3", true, 0, 1},       {"song.ogg", false, 0, 0},
                 {"take.wav/noext", false, 0, 0}, {"v.mp3/plain.Wav", true, 1, 0},
                 {"dotless", false, 0, 0}};
    for (const Case& c : cases) {
        Chooser.Calls = 0;
        Mpeg.Rates.clear();
        const std::string target = Dir.File(c.name);
        EXPECT_EQ(TSaveOperations::saverange(Document, target, 0, 1000), c.started) << c.name;
        EXPECT_EQ(Chooser.Calls, c.chooserCalls) << c.name;
        EXPECT_EQ(int(Mpeg.Rates.size()), c.dialogCalls) << c.name;
        EXPECT_EQ(fs::is_regular_file(target), c.started) << c.name;
    }
}

TEST_F(SaveOperations, SavefileUsesTheDocumentsNameInCapitals) {
    const auto samples = LcgNoise(5000, 1, 20000);
    Load(1, samples, 44100, "SOURCE.WAV");
    ASSERT_TRUE(TSaveOperations::savefile(Document));
    EXPECT_EQ(Chooser.Calls, 1);
    EXPECT_EQ(DataSamples(Dir.File("SOURCE.WAV")), samples);
    EXPECT_FALSE(Document.modified);
}

TEST_F(SaveOperations, OggNameStartsNothing) {
    Load(1, LcgNoise(5000, 1, 20000), 44100, "song.ogg");
    EXPECT_FALSE(TSaveOperations::savefile(Document));
    EXPECT_EQ(Chooser.Calls, 0);
    EXPECT_TRUE(Mpeg.Rates.empty());
    EXPECT_TRUE(Log.Events.empty());
    EXPECT_TRUE(Document.modified);
    EXPECT_FALSE(fs::exists(Dir.File("song.ogg")));
}

TEST_F(SaveOperations, OnlySavefileClearsModified) {
    Load(2, LcgNoise(4000, 2, 20000));
    ASSERT_TRUE(TSaveOperations::saverange(Document, Dir.File("all.wav"), 0, 4000));
    EXPECT_TRUE(Document.modified) << "a range save, even of everything, leaves it modified";
    ASSERT_TRUE(TSaveOperations::saverange(Document, Dir.File("part.mp3"), 0, 2000));
    EXPECT_TRUE(Document.modified);
    ASSERT_TRUE(TSaveOperations::savefile(Document));
    EXPECT_FALSE(Document.modified);
}

TEST_F(SaveOperations, CancelStartsNothing) {
    Load(2, LcgNoise(4000, 2, 20000));
    Chooser.Result = 515;
    EXPECT_FALSE(TSaveOperations::saverange(Document, Dir.File("c.wav"), 0, 4000));
    Mpeg.Cancel = true;
    EXPECT_FALSE(TSaveOperations::saverange(Document, Dir.File("c.mp3"), 0, 4000));
    EXPECT_EQ(Mpeg.Rates, std::vector<int32_t>{44100});
    EXPECT_TRUE(Log.Events.empty());
    EXPECT_EQ(Ui.Progress.Shown, 1) << "only the load showed progress";
    EXPECT_EQ(Listing(Dir.Path()), (Strings{"~we1.tmp"}));
}

TEST_F(SaveOperations, Mp3SaveWritesTheChosenSettings) {
    const auto samples = Harmonics(44100 * 2, 440, 44100, 2, 16000);
    Load(2, samples);
    Mpeg.Choice.Bitrate = 5; // 128 kbps
    const std::string target = Dir.File("tone.mp3");
    ASSERT_TRUE(TSaveOperations::saverange(Document, target, 0, 44100 * 2));
    EXPECT_EQ(Mpeg.Rates, std::vector<int32_t>{44100});
    const TEncoderConfig expected = Mpeg.Choice.EncoderConfig(44100, 2);
    EXPECT_EQ(std::memcmp(Document.encoderconfig.data(), &expected, sizeof expected), 0);
    EXPECT_TRUE(std::all_of(Document.encoderconfig.begin() + 331, Document.encoderconfig.end(),
                            [](uint8_t b) { return b == 0; }));
    const QJsonObject stream = ProbeStream(target);
    EXPECT_EQ(stream["bit_rate"].toString(), "128000");
    EXPECT_EQ(stream["channels"].toInt(), 2);
    EXPECT_NEAR(SteadyRmsDb(DecodeWithFfmpeg(target), 2, 44100), RmsDb(samples), 0.5);
    EXPECT_EQ(Log.Events, Strings{"ready(1)"});
    EXPECT_EQ(Listing(Dir.Path()), (Strings{"tone.mp3", "~we1.tmp"}));
}

TEST_F(SaveOperations, Mp3OfMoreThanTwoChannelsIsRefused) {
    Load(6, LcgNoise(1000, 6, 20000));
    EXPECT_FALSE(TSaveOperations::saverange(Document, Dir.File("six.mp3"), 0, 1000));
    ASSERT_EQ(Ui.Messages.Boxes.size(), 1u);
    EXPECT_EQ(Ui.Messages.Boxes[0].Text,
              "MP3 files hold one or two channels. Please save this 6-channel audio as WAV.");
    EXPECT_TRUE(Mpeg.Rates.empty());
    EXPECT_FALSE(fs::exists(Dir.File("six.mp3")));
}

TEST_F(SaveOperations, SaveOverTheOwnSourceKeepsTheDocumentWorking) {
    const auto samples = LcgNoise(50000, 2, 20000);
    Load(2, samples, 44100, "source.wav");
    WriteWholeFile(Dir.File("source.wav"), {'o', 'l', 'd'});
    ASSERT_TRUE(TSaveOperations::savefile(Document));
    EXPECT_EQ(DataSamples(Dir.File("source.wav")), samples);
    EXPECT_EQ(TableSamples(*Document.table), samples);
    Mpeg.Choice.Bitrate = 5;
    Document.filename = Dir.File("source.mp3");
    WriteWholeFile(Document.filename, {'o', 'l', 'd'});
    ASSERT_TRUE(TSaveOperations::savefile(Document));
    EXPECT_EQ(ProbeStream(Document.filename)["bit_rate"].toString(), "128000");
    EXPECT_EQ(TableSamples(*Document.table), samples);
}

TEST_F(SaveOperations, WavFailingHalfWayLeavesTheOldTarget) {
    Load(2, LcgNoise(441000, 2, 20000));
    const std::string target = Dir.File("old.wav");
    WriteWholeFile(target, {'o', 'l', 'd'});
    {
        FileSizeLimit limit(200000);
        ASSERT_TRUE(TSaveOperations::saverange(Document, target, 0, 441000));
    }
    EXPECT_EQ(ReadWholeFile(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(Ui.Errors.Messages, Strings{"Failed to write data to file\r\"" + target +
                                          "\": File too large\rThe existing file is unchanged."});
    EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
    EXPECT_TRUE(Document.modified);
    EXPECT_TRUE(Document.ready);
    EXPECT_EQ(Listing(Dir.Path()), (Strings{"old.wav", "~we1.tmp"}));
}

TEST_F(SaveOperations, Mp3FailingHalfWayLeavesTheOldTarget) {
    Load(2, LcgNoise(44100 * 30, 2, 20000));
    const std::string target = Dir.File("old.mp3");
    WriteWholeFile(target, {'o', 'l', 'd'});
    Mpeg.Choice.Bitrate = 5;
    {
        FileSizeLimit limit(100000);
        ASSERT_TRUE(TSaveOperations::saverange(Document, target, 0, 44100 * 30));
    }
    EXPECT_EQ(ReadWholeFile(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    ASSERT_EQ(Ui.Messages.Boxes.size(), 1u);
    EXPECT_EQ(Ui.Messages.Boxes[0].Text, "Data write error! 0\r\"" + target +
                                             "\": File too large\rThe existing file is unchanged.");
    EXPECT_TRUE(Ui.Messages.Boxes[0].OnMainThread);
    EXPECT_TRUE(Ui.Errors.Messages.empty());
    EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
    EXPECT_EQ(Listing(Dir.Path()), (Strings{"old.mp3", "~we1.tmp"}));
}

TEST_F(SaveOperations, FailingNewFileIsNamedAndLeavesNothing) {
    Load(2, LcgNoise(441000, 2, 20000));
    for (const char* name : {"new.wav", "new.mp3"}) {
        const std::string target = Dir.File(name);
        Mpeg.Choice.Bitrate = 5;
        {
            FileSizeLimit limit(100000);
            ASSERT_TRUE(TSaveOperations::saverange(Document, target, 0, 441000));
        }
        Strings shown = Ui.Errors.Messages;
        for (const auto& box : Ui.Messages.Boxes)
            shown.push_back(box.Text);
        ASSERT_EQ(shown.size(), 1u) << name;
        EXPECT_NE(shown[0].find("\r\"" + target + "\": File too large\rNo file was created."),
                  std::string::npos)
            << shown[0];
        EXPECT_EQ(Listing(Dir.Path()), (Strings{"~we1.tmp"}));
        Ui.Errors.Messages.clear();
        Ui.Messages.Boxes.clear();
    }
}

TEST_F(SaveOperations, FailedRenameIsAFailedSave) {
    Load(1, LcgNoise(1000, 1, 20000));
    const std::string target = Dir.File("folder.wav");
    fs::create_directory(target);
    ASSERT_TRUE(TSaveOperations::saverange(Document, target, 0, 1000));
    ASSERT_EQ(Ui.Errors.Messages.size(), 1u);
    EXPECT_EQ(Ui.Errors.Messages[0].rfind("Cannot replace \"" + target + "\". ", 0), 0u);
    EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(Listing(Dir.Path()), (Strings{"folder.wav", "~we1.tmp"}));
}

TEST_F(SaveOperations, RequestWhileBusyStoresNothing) {
    Load(1, LcgNoise(1000, 1, 20000));
    Document.busy = true;
    EXPECT_FALSE(TSaveOperations::saverange(Document, Dir.File("busy.wav"), 3, 7));
    EXPECT_FALSE(TSaveOperations::savefile(Document));
    Document.busy = false;
    EXPECT_TRUE(Document.targetname.empty());
    EXPECT_EQ(Chooser.Calls, 0);
}

TEST_F(SaveOperations, EncoderThatDoesNotOpenEndsTheSaveWithItsMessage) {
    Load(2, LcgNoise(5000, 2, 20000));
    const std::string target = Dir.File("keep.mp3");
    WriteWholeFile(target, {'o', 'l', 'd'});
    TEncoderConfig config = TMpegSettingsChoice{}.EncoderConfig(44100, 2);
    config.Mode = 9;
    std::memcpy(Document.encoderconfig.data(), &config, sizeof config);
    Document.targetname = target;
    Document.startframe = 0;
    Document.endframe = 5000;
    Document.operation = opsavemp3;
    Document.startoperation();
    ASSERT_EQ(Ui.Messages.Boxes.size(), 1u);
    EXPECT_EQ(Ui.Messages.Boxes[0].Text,
              "Error opening encoding stream 2\rThe existing file is unchanged.");
    EXPECT_EQ(Ui.Messages.Boxes[0].Style, uint32_t(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(Ui.Messages.Boxes[0].OnMainThread);
    EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
    EXPECT_EQ(ReadWholeFile(target), (std::vector<uint8_t>{'o', 'l', 'd'}));
    EXPECT_EQ(Listing(Dir.Path()), (Strings{"keep.mp3", "~we1.tmp"}));
}

TEST_F(SaveOperations, ChosenFormatIsTheOneWritten) {
    const auto samples = LcgNoise(30000, 2, 20000);
    Load(2, samples);
    WAVEFORMATEX mulaw{};
    mulaw.wFormatTag = 7;
    mulaw.nChannels = 2;
    mulaw.nSamplesPerSec = 44100;
    mulaw.nAvgBytesPerSec = 88200;
    mulaw.nBlockAlign = 2;
    mulaw.wBitsPerSample = 8;
    Chooser.Choice = Block(mulaw);
    const std::string target = Dir.File("mulaw.wav");
    ASSERT_TRUE(TSaveOperations::saverange(Document, target, 0, 30000));
    EXPECT_EQ(std::memcmp(Document.targetformat.data(), Chooser.Choice->data(), 531), 0);
    const ReaderView sox = SoxView(target);
    EXPECT_NE(sox.Encoding.find("u-law"), std::string::npos) << sox.Encoding;
    EXPECT_EQ(sox.Frames, 30000);
    EXPECT_EQ(sox.Channels, 2u);
}
