#include "AppServices.h"
#include "DialogDriver.h"
#include "Exceptions.h"
#include "TLargeFile.h"
#include "TPropertiesForm.h"
#include "TestFiles.h"
#include "Twavefile.h"

#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

namespace {
const char* const NoTags[6] = {"", "", "", "", "", ""};

// The rows of the tree as text, "caption=value", group by group.
std::vector<std::string> Rows(const TPropertiesForm& form) {
    std::vector<std::string> rows;
    for (int g = 0; g < form.VST3->topLevelItemCount(); ++g) {
        QTreeWidgetItem* group = form.VST3->topLevelItem(g);
        rows.push_back("[" + group->text(0).toStdString() + "]");
        for (int r = 0; r < group->childCount(); ++r)
            rows.push_back(group->child(r)->text(0).toStdString() + "=" +
                           group->child(r)->text(1).toStdString());
    }
    return rows;
}

std::vector<std::string> Expected(const std::vector<std::string>& format,
                                  const char* const tags[6]) {
    std::vector<std::string> rows = {"[Audio format]"};
    const char* captions[] = {"Format",          "Sample Rate",       "Channels",
                              "Bits per sample", "Duration",          "Samples",
                              "File Size",       "Uncompressed size", "Max Level"};
    for (int i = 0; i < 9; ++i)
        rows.push_back(std::string(captions[i]) + "=" + format[i]);
    rows.push_back("[Meta Data]");
    const char* tagCaptions[] = {"Title", "Artist", "Album", "Track", "Year", "Genre"};
    for (int i = 0; i < 6; ++i)
        rows.push_back(std::string(tagCaptions[i]) + "=" + tags[i]);
    return rows;
}

// A document as a load leaves it: a table of `frames` frames, the levels and the tags.
void Loaded(Twavefile& document, const std::string& name, int32_t channels, int32_t rate,
            int64_t frames, int16_t peak) {
    auto table = std::make_shared<TLargeFile>(name, channels, rate);
    table->Add({frames * 2 * channels, TChunk::Silence, {}, 0});
    table->UpdateSize();
    document.filename = name;
    document.table = table;
    document.updateinfo(*table);
    document.peak = peak;
    document.leveldb = AmplitudeToDb(peak);
    document.ready = true;
}

// Runs `body` in `folder` as the current folder.
void InFolder(const std::string& folder, const std::function<void()>& body) {
    std::filesystem::path saved = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    body();
    std::filesystem::current_path(saved);
}
} // namespace

TEST(PropertiesForm, NewDocument) {
    TempDir dir;
    Twavefile document;
    document.createnew("untitled.tmp", 44100, 1, 16);
    TPropertiesForm form;
    InFolder(dir.Path(), [&] { form.setfilename(document); });
    EXPECT_EQ(Rows(form), Expected({"TMP", "44100 Hz", "1", "16", "0:00:00.000", "0", "Unknown",
                                    "0 bytes", "-90 dB"},
                                   NoTags));

    // A file of that name in the current folder is found.
    WriteWholeFile(dir.File("untitled.tmp"), std::vector<uint8_t>(1234));
    InFolder(dir.Path(), [&] { form.setfilename(document); });
    EXPECT_EQ(form.Value(0, 6), "1234 bytes");
}

TEST(PropertiesForm, LoadedFile) {
    TempDir dir;
    std::string name = dir.File("Tone.Stereo.Wav");
    RunProgram({"sox", "-n", "-r", "44100", "-c", "2", "-b", "16", name, "synth", "3", "sine",
                "440", "vol", "0.5"});
    const auto onDisk = std::filesystem::file_size(name);
    Twavefile document;
    Loaded(document, name, 2, 44100, 132300, 16384);
    document.Title = "A Title";
    document.Artist = "Somebody";
    document.Album = "Album";
    document.Track = "7";
    document.Year = "2001";
    document.Genre = "Ambient";
    TPropertiesForm form;
    form.setfilename(document);
    const char* tags[6] = {"A Title", "Somebody", "Album", "7", "2001", "Ambient"};
    EXPECT_EQ(Rows(form), Expected({"WAV", "44100 Hz", "2", "16", "0:00:03.000", "132300",
                                    std::to_string(onDisk) + " bytes", "529200 bytes", "-6.02 dB"},
                                   tags));
}

TEST(PropertiesForm, FormatDurationAndLevelTexts) {
    struct Case {
        const char* name;
        int32_t rate;
        int64_t frames;
        int16_t peak;
        const char* format;
        const char* duration;
        const char* level;
    } cases[] = {
        {"/music/Song.Mp3", 48000, 48000, 32767, "MP3", "0:00:01.000", "0 dB"},
        {"/music/dir.v2/noext", 8000, 8, 1, "", "0:00:00.001", "-90.3 dB"},
        {"/music/archive.tar.GZ", 1000, 3723004, 1000, "GZ", "1:02:03.004", "-30.3 dB"},
        // 25 h 1 min 1.5 s: the hour counts hours of the day.
        {"/music/long.flac", 2, 180123, 0, "FLAC", "1:01:01.500", "-90 dB"},
        {"/music/.hidden", 44100, 0, 32000, "HIDDEN", "0:00:00.000", "-0.206 dB"},
    };
    for (const Case& c : cases) {
        Twavefile document;
        Loaded(document, c.name, 1, c.rate, c.frames, c.peak);
        TPropertiesForm form;
        form.setfilename(document);
        EXPECT_EQ(form.Value(0, 0), c.format) << c.name;
        EXPECT_EQ(form.Value(0, 4), c.duration) << c.name;
        EXPECT_EQ(form.Value(0, 8), c.level) << c.name;
        EXPECT_EQ(form.Value(0, 6), "Unknown") << c.name;
    }
}

TEST(PropertiesForm, RowsColoursHintsAndImages) {
    Twavefile document;
    document.createnew("untitled.tmp", 22050, 2, 16);
    TPropertiesForm form;
    form.setfilename(document);
    EXPECT_EQ(form.windowTitle().toStdString(), "File Properties");
    EXPECT_EQ(form.VST3->headerItem()->text(0).toStdString(), "Properties");
    EXPECT_EQ(form.VST3->headerItem()->text(1).toStdString(), "Values");
    EXPECT_EQ(form.VST3->columnWidth(0), 186);
    ASSERT_EQ(form.VST3->topLevelItemCount(), 2);
    const QColor groupColor(0x41, 0x6C, 0x99), oddColor(0xFA, 0xFA, 0xE1);
    for (int g = 0; g < 2; ++g) {
        QTreeWidgetItem* group = form.VST3->topLevelItem(g);
        EXPECT_EQ(group->childCount(), g == 0 ? 9 : 6);
        EXPECT_TRUE(group->isExpanded());
        EXPECT_EQ(group->background(0).color(), groupColor);
        EXPECT_EQ(group->foreground(0).color(), QColor(Qt::white));
        EXPECT_TRUE(group->font(0).bold());
        EXPECT_EQ(group->icon(0).cacheKey(), form.PngImageList1[g].cacheKey());
        EXPECT_TRUE(group->text(1).isEmpty());
        for (int r = 0; r < group->childCount(); ++r) {
            QTreeWidgetItem* row = group->child(r);
            EXPECT_EQ(row->background(1).color(), r % 2 ? oddColor : QColor(Qt::white)) << r;
            EXPECT_EQ(row->foreground(0).color(), QColor(Qt::black));
            EXPECT_FALSE(row->font(0).bold());
            EXPECT_EQ(row->icon(0).cacheKey(), form.PngImageList1[2].cacheKey());
            EXPECT_EQ(row->toolTip(0).isEmpty(), g == 1) << r;
        }
    }
    EXPECT_EQ(form.VST3->topLevelItem(0)->child(3)->toolTip(0).toStdString(),
              "Number of bits ber sample");
    EXPECT_EQ(form.VST3->topLevelItem(0)->child(8)->toolTip(0).toStdString(),
              "Max. volume level in decibels");
}

TEST(PropertiesForm, NextDocumentReplacesEveryValue) {
    Twavefile first;
    Loaded(first, "/a/first.ogg", 2, 44100, 44100, 100);
    first.Title = "First";
    Twavefile second;
    second.createnew("untitled.tmp", 8000, 1, 16);
    TPropertiesForm form;
    form.setfilename(first);
    form.setfilename(second);
    EXPECT_EQ(form.Value(0, 0), "TMP");
    EXPECT_EQ(form.Value(1, 0), "");
    EXPECT_EQ(Rows(form).size(), 17u);
    EXPECT_EQ(RunModal(form, [&] { QTest::mouseClick(form.Button1, Qt::LeftButton); }), mrCancel);
}

TEST(PropertiesForm, UnreadableFileRaisesTheOpenError) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    TempDir dir;
    std::string name = dir.File("locked.wav");
    WriteWholeFile(name, std::vector<uint8_t>(10));
    std::filesystem::permissions(name, std::filesystem::perms::none);
    Twavefile document;
    Loaded(document, name, 1, 8000, 1, 1);
    TPropertiesForm form;
    EXPECT_THROW(form.setfilename(document), EFOpenError);
}
