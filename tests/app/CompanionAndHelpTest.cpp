#include "Exceptions.h"
#include "FakeDesktop.h"
#include "RunCompanionProgram.h"
#include "ShowHelpTopic.h"
#include "TMessageDlgRecorder.h"

#include "TestFiles.h"

#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

TEST(RunCompanionProgram, StartsAnInstalledProgramWithItsParameter) {
    TempDir dir;
    WriteWholeFile(dir.File("tool"), {1});
    QSettings store(QString::fromStdString(dir.File("store.ini")), QSettings::IniFormat);
    store.setValue("path", QString::fromStdString(dir.Path() + "/"));
    FakeDesktop desktop;
    TMessageDlgRecorder messages;
    RunCompanionProgram(store, "tool", "", "https://example.invalid/tool");
    ASSERT_EQ(desktop.Started.size(), 1u);
    EXPECT_EQ(desktop.Started[0], (std::vector<std::string>{dir.File("tool"), ""}));
    EXPECT_TRUE(desktop.Opened.empty());
    EXPECT_TRUE(messages.Calls.empty());
}

TEST(RunCompanionProgram, AProgramOnThePathStartsWithoutAStoredFolder) {
    TempDir dir;
    QSettings store(QString::fromStdString(dir.File("store.ini")), QSettings::IniFormat);
    FakeDesktop desktop;
    TMessageDlgRecorder messages;
    RunCompanionProgram(store, "sh", "", "https://example.invalid/sh");
    ASSERT_EQ(desktop.Started.size(), 1u);
    EXPECT_EQ(desktop.Started[0][0], QStandardPaths::findExecutable("sh").toStdString());
    EXPECT_TRUE(messages.Calls.empty());
}

TEST(RunCompanionProgram, MissingProgramSaysSoThenOpensTheWebPage) {
    TempDir dir;
    QSettings store(QString::fromStdString(dir.File("store.ini")), QSettings::IniFormat);
    for (const char* path : {"", "/no/such/folder/"}) {
        store.setValue("path", path);
        FakeDesktop desktop;
        TMessageDlgRecorder messages;
        RunCompanionProgram(store, "tool", "", "https://example.invalid/tool");
        EXPECT_TRUE(desktop.Started.empty());
        ASSERT_EQ(messages.Calls.size(), 1u);
        EXPECT_EQ(messages.Calls[0].Text,
                  "Component not found\r\nPlease download and install it from our site.");
        EXPECT_EQ(desktop.Opened, (std::vector<std::string>{"https://example.invalid/tool"}));
    }
}

TEST(ShowHelpTopic, OpensAnExistingFileAndNamesAMissingOne) {
    TempDir dir;
    const std::string help = dir.File("sondrix help.chm");
    WriteWholeFile(help, {1});
    FakeDesktop desktop;
    ShowHelpTopic(help, "");
    ShowHelpTopic(help, "intro");
    ASSERT_EQ(desktop.Opened.size(), 2u);
    EXPECT_EQ(desktop.Opened[0], "file://" + dir.Path() + "/sondrix%20help.chm");
    EXPECT_EQ(desktop.Opened[1], desktop.Opened[0] + "#intro");

    const std::string missing = dir.File("missing.chm");
    try {
        ShowHelpTopic(missing, "");
        FAIL() << "no error for a missing help file";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to open help file " + missing);
    }
    desktop.Opens = false;
    try {
        ShowHelpTopic(help, "");
        FAIL() << "no error when no program opens the help file";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to open help file " + help + "\rNo program on this system could open it");
    }
}
