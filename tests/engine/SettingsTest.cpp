#include "Settings.h"
#include "AppServices.h"
#include "Exceptions.h"

#include "TestFiles.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace {

struct Store {
    TempDir dir;
    std::string path = dir.File("settings.ini");
    std::unique_ptr<QSettings> Open() {
        return std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
    }
};

} // namespace

TEST(Settings, FirstRunTakesDefaultsAndSavesEveryValue) {
    Store store;
    RecentFiles.clear();
    LoadSettings(*store.Open());
    EXPECT_EQ(Settings.tempfolder, GetTempDirectory());
    EXPECT_EQ(Settings.selectiontype, 0);
    EXPECT_EQ(Settings.backcolor, 8935470u);
    EXPECT_EQ(Settings.scalecolor, 14474460u);
    EXPECT_EQ(Settings.wavecolor, 15325640u);
    EXPECT_EQ(Settings.posx, -1);
    EXPECT_EQ(Settings.height, -1);
    EXPECT_EQ(Settings.volume, -8000);
    EXPECT_TRUE(RecentFiles.empty());

    SaveSettings(*store.Open());
    auto saved = store.Open();
    saved->beginGroup("Settings");
    EXPECT_EQ(saved->value("mrucount").toInt(), 0);
    EXPECT_FALSE(saved->contains("mruitem0"));
    EXPECT_EQ(saved->value("wavecolor").toInt(), 15325640);
    EXPECT_EQ(saved->value("tempfolder").toString().toStdString(), GetTempDirectory());
    EXPECT_EQ(saved->value("volume").toInt(), -8000);
}

TEST(Settings, HandWrittenStoreWithGapsAndBadValues) {
    Store store;
    {
        auto s = store.Open();
        s->beginGroup("Settings");
        s->setValue("tempfolder", "/data/tmp/");
        s->setValue("selectiontype", 7); // only by hand: anything but 0 shows frame numbers
        s->setValue("posx", "not a number");
        s->setValue("width", 800);
        s->setValue("mrucount", 3);
        s->setValue("mruitem0", "/music/a.wav");
        s->setValue("mruitem2", "/music/c.mp3");
    }
    RecentFiles.clear();
    LoadSettings(*store.Open());
    EXPECT_EQ(Settings.tempfolder, "/data/tmp/");
    EXPECT_EQ(Settings.selectiontype, 1);
    EXPECT_EQ(Settings.posx, -1); // did not convert: default
    EXPECT_EQ(Settings.width, 800);
    EXPECT_EQ(RecentFiles, (std::vector<std::string>{"/music/a.wav", "/music/c.mp3"}));

    for (const char* count : {"-5", "2000000000"}) {
        auto s = store.Open();
        s->setValue("Settings/mrucount", count);
        s.reset();
        RecentFiles.clear();
        LoadSettings(*store.Open());
        EXPECT_LE(RecentFiles.size(), 2u) << count;
    }
}

TEST(Settings, EmptyTemporaryFolderIsTheSystemOne) {
    Store store;
    store.Open()->setValue("Settings/tempfolder", "");
    RecentFiles.clear();
    LoadSettings(*store.Open());
    EXPECT_EQ(Settings.tempfolder, GetTempDirectory());
    EXPECT_FALSE(Settings.tempfolder.empty());
}

TEST(AppServices, TimeTexts) {
    EXPECT_EQ(MsToStr(0), "00:00.000");
    EXPECT_EQ(MsToStr(61001), "01:01.001");
    EXPECT_EQ(MsToStr(6000000), "100:00.000");
    EXPECT_EQ(StrToMs("01:01.001"), 61001u);
    EXPECT_EQ(StrToMs("100:00.000"), 6000000u);
    EXPECT_EQ(StrToMs("1:2.3"), 62003u);
    EXPECT_EQ(StrToMs("00:75.000"), 75000u);
    // Past 32 bits of milliseconds: a long document at a low rate.
    EXPECT_EQ(MsToStr(10737418240), "178956:58.240");
    EXPECT_EQ(StrToMs("178956:58.240"), 10737418240);
    for (const char* bad : {"12.5", "1:2", "a:00.000", "", "1:.5", "-1:00.000"})
        EXPECT_THROW(StrToMs(bad), EConvertError) << bad;
}

TEST(AppServices, LevelsAndFormat) {
    EXPECT_EQ(AmplitudeToDb(0), -90.0);
    EXPECT_EQ(AmplitudeToDb(-5), -90.0);
    EXPECT_EQ(AmplitudeToDb(32767), 0.0);
    EXPECT_NEAR(AmplitudeToDb(16384), -6.02, 0.01);
    EXPECT_GT(AmplitudeToDb(32768), 0.0);
    WAVEFORMATEX format{};
    FillPCMFormat(44100, 2, 16, format);
    EXPECT_EQ(format.wFormatTag, 1);
    EXPECT_EQ(format.nBlockAlign, 4);
    EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
    EXPECT_EQ(format.cbSize, 0);
}
