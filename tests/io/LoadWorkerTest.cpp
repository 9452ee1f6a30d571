// A document loads every imported format through the operation runner with its samples, peaks,
// levels and tags; what cannot be imported gets the failure box and leaves nothing behind.
#include "AudioFixtures.h"
#include "Exceptions.h"
#include "FakeUserInterface.h"
#include "Settings.h"
#include "TBASSDecoder.h"
#include "TLoadWorker.h"
#include "TempFileList.h"
#include "TestDocument.h"
#include "TestFiles.h"
#include "Twavefile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Strings = std::vector<std::string>;

constexpr const char* BrokenText =
    "Could not import audio file. Format not supported or file broken";

std::string CannotImport(const std::string& name, const std::string& reason) {
    return "Could not import audio file \"" + name + "\". " + reason;
}

/// The source with the STREAMINFO total-samples field (36 bits from bit 4 of byte 21) set.
std::vector<uint8_t> FlacStatingSamples(const std::string& source, uint64_t total) {
    std::vector<uint8_t> bytes = ReadWholeFile(source);
    bytes[21] = uint8_t((bytes[21] & 0xF0) | (total >> 32));
    for (int i = 0; i < 4; ++i)
        bytes[size_t(22 + i)] = uint8_t(total >> (24 - 8 * i));
    return bytes;
}

class Load : public testing::Test {
protected:
    Load() {
        Settings.tempfolder = Temp.Path() + "/";
        TLoadWorker::FileSizeLimit = TBASSDecoder::MaxFileSize;
    }
    ~Load() override { TLoadWorker::FileSizeLimit = TBASSDecoder::MaxFileSize; }

    /// Files left in the temporary folder.
    size_t TempFileCount() const {
        return size_t(std::distance(std::filesystem::directory_iterator(Temp.Path()),
                                    std::filesystem::directory_iterator()));
    }

    void ExpectFailureBox(const std::string& text = BrokenText) {
        ASSERT_EQ(Ui.Messages.Boxes.size(), 1u);
        EXPECT_EQ(Ui.Messages.Boxes[0].Text, text);
        EXPECT_EQ(Ui.Messages.Boxes[0].Caption, "File Loading Error!");
        EXPECT_EQ(Ui.Messages.Boxes[0].Style, 0x30u);
        EXPECT_TRUE(Document.loadfailed);
        EXPECT_FALSE(Document.ready);
        EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
        EXPECT_TRUE(Ui.Errors.Messages.empty());
        EXPECT_TRUE(Document.tempname.empty() || !std::filesystem::exists(Document.tempname));
        EXPECT_EQ(TempFileCount(), 0u);
    }

    ScopedWorker Worker{opload, &TLoadWorker::loadworker};
    FakeUserInterface Ui;
    TempDir Temp;
    Twavefile Document;
    EventLog Log{Document};
};

struct LoadCase {
    const char* File;
    uint32_t Rate;
    uint16_t Channels;
    const char*
        Source; // lossless: the WAV it gives back; lossy: nullptr, ffmpeg's decode is the oracle
    bool Tagged;
};

class LoadFormat : public Load, public testing::WithParamInterface<LoadCase> {};

TEST_P(LoadFormat, SamplesPeaksLevelsAndTags) {
    const LoadCase& c = GetParam();
    Document.loadfile(Fixture(c.File));
    ASSERT_EQ(Log.Events, (Strings{"loaded(1)", "ready(1)"}));
    EXPECT_TRUE(Document.ready);
    EXPECT_FALSE(Document.loadfailed);
    EXPECT_TRUE(Ui.Messages.Boxes.empty());
    EXPECT_EQ(Document.samplerate, int32_t(c.Rate));
    EXPECT_EQ(Document.channels, c.Channels);

    const std::vector<int16_t> samples = TableSamples(*Document.table);
    if (c.Source) {
        EXPECT_TRUE(samples == Expected16(ReadWav(Fixture(c.Source))));
    } else {
        const std::vector<int16_t> expected = FfmpegSamples(Fixture(c.File));
        ASSERT_EQ(samples.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            ASSERT_LE(std::abs(samples[i] - expected[i]), 1) << "sample " << i;
    }
    EXPECT_EQ(Document.size, samples.size() * 2);
    EXPECT_EQ(Document.frames, samples.size() / c.Channels);
    EXPECT_DOUBLE_EQ(Document.duration, double(Document.frames) / c.Rate);

    EXPECT_TRUE(Document.peakindex == PeakModel(samples, c.Channels));
    EXPECT_TRUE(Document.table->IndexData == Document.peakindex);
    int16_t channelPeaks[8] = {};
    for (size_t i = 0; i < samples.size(); ++i)
        channelPeaks[i % c.Channels] =
            std::max(channelPeaks[i % c.Channels], PeakMagnitude(samples[i]));
    for (int ch = 0; ch < 8; ++ch)
        EXPECT_EQ(Document.peaks[size_t(ch)], channelPeaks[ch]) << "channel " << ch;
    const int16_t peak = *std::max_element(channelPeaks, channelPeaks + 8);
    EXPECT_EQ(Document.peak, peak);
    EXPECT_NEAR(Document.leveldb, 20 * std::log10(peak / 32767.0), 1e-9);

    const Strings tags = {Document.Track, Document.Title, Document.Artist,
                          Document.Album, Document.Genre, Document.Year};
    EXPECT_EQ(tags, c.Tagged ? FixtureTags() : Strings(6));

    // The decoded file is the table's only piece, listed once among the temporary files.
    ASSERT_EQ(Document.table->Chunks.size(), 1u);
    EXPECT_EQ(Document.table->Chunks[0].DataFile->Path(), Document.tempname);
    EXPECT_EQ(Document.table->Chunks[0].Offset, 44);
    const Strings listed = TempFiles.Names();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), Document.tempname), 1);
    EXPECT_EQ(TempFileCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Lossless, LoadFormat,
                         testing::Values(LoadCase{"tone.wav", 44100, 2, "tone.wav", false},
                                         LoadCase{"tagged.wav", 44100, 2, "tone.wav", true},
                                         LoadCase{"tone.aiff", 44100, 2, "tone.wav", true},
                                         LoadCase{"alac.m4a", 44100, 2, "tone.wav", true},
                                         LoadCase{"tone.tta", 44100, 2, "tone.wav", true},
                                         LoadCase{"tone.flac", 44100, 2, "tone.wav", true},
                                         LoadCase{"mono.flac", 44100, 1, "mono.wav", false},
                                         LoadCase{"tone.wv", 44100, 2, "tone.wav", true},
                                         LoadCase{"pcm8.wav", 44100, 2, "pcm8.wav", false},
                                         LoadCase{"pcm24.wav", 44100, 2, "pcm24.wav", false},
                                         LoadCase{"float.wav", 48000, 2, "float.wav", false}));

INSTANTIATE_TEST_SUITE_P(Lossy, LoadFormat,
                         testing::Values(LoadCase{"alaw.wav", 44100, 2, nullptr, false},
                                         LoadCase{"mulaw.wav", 44100, 2, nullptr, false},
                                         LoadCase{"ima.wav", 44100, 2, nullptr, false},
                                         LoadCase{"msadpcm.wav", 44100, 2, nullptr, false},
                                         LoadCase{"gsm.wav", 8000, 1, nullptr, false},
                                         LoadCase{"tone.mp3", 44100, 2, nullptr, true},
                                         LoadCase{"noheader.mp3", 44100, 2, nullptr, false},
                                         LoadCase{"mono.mp3", 44100, 1, nullptr, false},
                                         LoadCase{"tone.wma", 44100, 2, nullptr, true},
                                         LoadCase{"tone.aac", 44100, 2, nullptr, true},
                                         LoadCase{"tone.ac3", 44100, 2, nullptr, false},
                                         LoadCase{"tone.ogg", 44100, 2, nullptr, true},
                                         LoadCase{"tone.opus", 48000, 2, nullptr, true},
                                         LoadCase{"tone.spx", 44100, 2, nullptr, true},
                                         LoadCase{"tone.mpc", 44100, 2, nullptr, true}));

TEST_F(Load, ProgressFromTheDecoderThenZero) {
    Document.loadfile(Fixture("tone.flac"));
    const std::vector<int32_t>& received = Ui.Progress.Received;
    ASSERT_GE(received.size(), 3u);
    EXPECT_EQ(received.back(), 0);
    EXPECT_GT(received.front(), 0);
    EXPECT_EQ(received[received.size() - 2], 100);
    for (size_t i = 1; i + 1 < received.size(); ++i)
        EXPECT_GT(received[i], received[i - 1]);
}

TEST_F(Load, EmptySourceGivesAnEmptyDocument) {
    WriteSampleFile(Temp.File("../empty-source.wav"), 2, 44100, {});
    const std::string source =
        std::filesystem::path(Temp.Path()).parent_path() / "empty-source.wav";
    Document.loadfile(source);
    std::filesystem::remove(source);
    EXPECT_EQ(Log.Events, (Strings{"loaded(1)", "ready(1)"}));
    EXPECT_EQ(Document.frames, 0u);
    EXPECT_EQ(Document.peak, 0);
    EXPECT_EQ(Document.leveldb, -90.0);
    EXPECT_TRUE(Document.peakindex.empty());
    EXPECT_EQ(Document.channels, 2);
    EXPECT_EQ(Document.samplerate, 44100);
}

class Refused : public Load, public testing::WithParamInterface<std::string> {};

TEST_P(Refused, GetsTheFailureBoxAndLeavesNothingBehind) {
    TempDir sources;
    const std::string name = GetParam();
    const std::string path = sources.File(name);
    if (name == "text.mp3")
        std::ofstream(path) << "Just some words, not audio.\n";
    else if (name == "empty.mp3")
        std::ofstream{path};
    else if (name == "playlist.mp3")
        std::ofstream(path) << "#EXTM3U\n#EXTINF:2,Tone\n" << Fixture("tone.wav") << "\n";
    else if (name == "random.ofr") {
        std::mt19937 random(11);
        std::string noise(65536, '\0');
        for (char& ch : noise)
            ch = char(random());
        std::ofstream(path, std::ios::binary) << noise;
    } else
        std::filesystem::copy_file(Fixture(name), path);
    Document.loadfile(path);
    ExpectFailureBox();
}

INSTANTIATE_TEST_SUITE_P(Inputs, Refused,
                         testing::Values("empty.mp3", "text.mp3", "playlist.mp3", "random.ofr",
                                         "six.wav", "sixteen.wav", "video.mp4"));

TEST_F(Load, MissingFileIsNamedAsNotFound) {
    TempDir sources;
    // The second one's parent is a file, not a folder.
    for (const std::string& name : {sources.File("missing.wav"), Fixture("tone.wav") + "/a.wav"}) {
        Ui.Messages.Boxes.clear();
        Log.Events.clear();
        Document.loadfile(name);
        ExpectFailureBox(CannotImport(name, "The file was not found."));
    }
}

// Permission bits do not stop root, so as root the case runs again in a child of this program
// as the unprivileged user "nobody".
TEST_F(Load, UnreadableFileSaysPermissionDenied) {
    if (geteuid() == 0) {
        if (!HaveProgram("setpriv"))
            GTEST_SKIP() << "setpriv is needed to run this case without root's rights";
        char self[PATH_MAX] = {};
        ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
        const std::string output =
            RunProgram({"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", self,
                        "--gtest_filter=Load.UnreadableFileSaysPermissionDenied"});
        EXPECT_NE(output.find("[       OK ] Load.UnreadableFileSaysPermissionDenied"),
                  std::string::npos)
            << output;
        return;
    }
    TempDir sources;
    const std::string path = sources.File("locked.wav");
    std::ofstream(path) << "RIFF";
    ASSERT_EQ(chmod(path.c_str(), 0), 0);
    Document.loadfile(path);
    ExpectFailureBox(CannotImport(path, "Permission to read it was denied."));
}

TEST_F(Load, StatedLengthPastTheLimitIsRefusedBeforeDecoding) {
    TempDir sources;
    const uint64_t eightHours = 44100ull * 3600 * 8;
    for (const auto& [name, layout] : {std::pair{"tone.flac", "3:22:53 at 44100 Hz stereo"},
                                       {"mono.flac", "6:45:47 at 44100 Hz mono"}}) {
        Ui.Messages.Boxes.clear();
        Ui.Progress.Received.clear();
        Log.Events.clear();
        const std::string path = sources.File(name);
        WriteWholeFile(path, FlacStatingSamples(Fixture(name), eightHours));
        Document.loadfile(path);
        ExpectFailureBox(CannotImport(
            path, std::string("It is longer than a document can hold (at most ") + layout + ")."));
        EXPECT_EQ(Ui.Progress.Received, std::vector<int32_t>{0}) << name;
    }
}

TEST_F(Load, ZeroChannelSourceIsRefused) {
    TempDir sources;
    std::vector<uint8_t> bytes = ReadWholeFile(Fixture("mono.wav"));
    bytes[22] = 0;
    WriteWholeFile(sources.File("zero.wav"), bytes);
    Document.loadfile(sources.File("zero.wav"));
    ExpectFailureBox();
}

TEST_F(Load, NamedPipeAndFolderAreRefusedWithoutOpeningThem) {
    TempDir sources;
    const std::string pipe = sources.File("pipe.wav");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& name : {pipe, sources.Path()}) {
        Ui.Messages.Boxes.clear();
        Log.Events.clear();
        Document.loadfile(name);
        ExpectFailureBox();
    }
}

TEST_F(Load, DecodeWithoutAStatedLengthStopsAtTheSizeLimit) {
    TLoadWorker::FileSizeLimit = 44 + 44100 * 4 + 3;
    Document.loadfile(Fixture("noheader.mp3"));
    ExpectFailureBox(CannotImport(Fixture("noheader.mp3"),
                                  "It is longer than a document can hold (at most 0:00:01 at "
                                  "44100 Hz stereo)."));
    EXPECT_GT(Ui.Progress.Received.size(), 1u);
}

TEST_F(Load, LongFlacWrittenBlockByBlockIsExact) {
    if (!HaveProgram("sox") || !HaveProgram("flac"))
        GTEST_SKIP() << "sox and flac make the source";
    TempDir sources;
    for (const char* channels : {"1", "2"}) {
        Log.Events.clear();
        const std::string wav = sources.File(std::string("noise") + channels + ".wav");
        const std::string flac = wav.substr(0, wav.size() - 3) + "flac";
        RunProgram({"sox", "-n", "-r", "44100", "-c", channels, "-b", "16", wav, "synth", "20",
                    "whitenoise", "vol", "0.7"});
        RunProgram({"flac", "--silent", "-f", "-o", flac, wav});
        Document.loadfile(flac);
        ASSERT_EQ(Log.Events, (Strings{"loaded(1)", "ready(1)"}));
        EXPECT_TRUE(TableSamples(*Document.table) == FfmpegSamples(flac)) << channels;
        EXPECT_TRUE(TableSamples(*Document.table) == ToSamples(ReadWav(wav).Data)) << channels;
    }
}

TEST_F(Load, CutFlacLoadsThePartThatDecodes) {
    Document.loadfile(Fixture("cut.flac"));
    ASSERT_EQ(Log.Events, (Strings{"loaded(1)", "ready(1)"}));
    const std::vector<int16_t> samples = TableSamples(*Document.table);
    const std::vector<int16_t> full = ToSamples(ReadWav(Fixture("tone.wav")).Data);
    ASSERT_GT(samples.size(), 0u);
    ASSERT_LT(samples.size(), full.size());
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), full.begin()));
}

TEST_F(Load, ColonAndNonAsciiNamesLoadExactly) {
    TempDir sources;
    for (const std::string name :
         {"concat:tone.wav|mono.wav", "http:a:b.wav", "T\xC3\xB6ne \xE2\x82\xAC.wav"}) {
        Log.Events.clear();
        std::filesystem::copy_file(Fixture("mono.wav"), sources.File(name));
        Document.loadfile(sources.File(name));
        ASSERT_EQ(Log.Events, (Strings{"loaded(1)", "ready(1)"})) << name;
        EXPECT_TRUE(TableSamples(*Document.table) == ToSamples(ReadWav(Fixture("mono.wav")).Data))
            << name;
    }
}

TEST_F(Load, UnwritableTemporaryFolderShowsOneErrorAndFails) {
    Settings.tempfolder = Temp.File("missing") + "/";
    Document.loadfile(Fixture("tone.wav"));
    EXPECT_EQ(Ui.Errors.Messages.size(), 1u);
    EXPECT_TRUE(Ui.Messages.Boxes.empty());
    EXPECT_TRUE(Document.loadfailed);
    EXPECT_EQ(Log.Events, (Strings{"loaded(0)", "ready(1)"}));
}

TEST(LoadWorker, RegisterEntersTheWorkerForLoad) {
    TWorkerTable::Unregister(opload);
    TLoadWorker::Register();
    const TWorker worker = TWorkerTable::Find(opload);
    ASSERT_TRUE(worker);
    EXPECT_EQ(*worker.target<void (*)(Twavefile&)>(), &TLoadWorker::loadworker);
    TWorkerTable::Unregister(opload);
}

} // namespace
