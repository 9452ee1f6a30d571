#include "Exceptions.h"
#include "RunCompanionProgram.h"
#include "ShellOpen.h"
#include "ShowHelpTopic.h"
#include "StartProgram.h"
#include "TMessageDlgRecorder.h"

#include "TestFiles.h"

#include <QSettings>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

/// Replaces the desktop hooks for one test and records what reaches them.
struct DesktopRecorder {
    std::vector<std::string> opened;
    std::vector<std::vector<std::string>> started;
    bool openResult = true;
    decltype(ShellOpenHook) savedOpen = ShellOpenHook;
    decltype(StartProgramHook) savedStart = StartProgramHook;
    DesktopRecorder() {
        ShellOpenHook = [this](const std::string& url) {
            opened.push_back(url);
            return openResult;
        };
        StartProgramHook = [this](const std::string& program,
                                  const std::vector<std::string>& args) {
            std::vector<std::string> call{program};
            call.insert(call.end(), args.begin(), args.end());
            started.push_back(call);
            return true;
        };
    }
    ~DesktopRecorder() {
        ShellOpenHook = savedOpen;
        StartProgramHook = savedStart;
    }
};

} // namespace

TEST(RunCompanionProgram, StartsAnInstalledProgramWithItsParameter) {
    TempDir dir;
    WriteWholeFile(dir.File("tool"), {1});
    QSettings store(QString::fromStdString(dir.File("store.ini")), QSettings::IniFormat);
    store.setValue("path", QString::fromStdString(dir.Path() + "/"));
    DesktopRecorder desktop;
    TMessageDlgRecorder messages;
    RunCompanionProgram(store, "tool", "", "https://example.invalid/tool");
    ASSERT_EQ(desktop.started.size(), 1u);
    EXPECT_EQ(desktop.started[0], (std::vector<std::string>{dir.File("tool"), ""}));
    EXPECT_TRUE(desktop.opened.empty());
    EXPECT_TRUE(messages.Calls.empty());
}

TEST(RunCompanionProgram, AProgramOnThePathStartsWithoutAStoredFolder) {
    TempDir dir;
    QSettings store(QString::fromStdString(dir.File("store.ini")), QSettings::IniFormat);
    DesktopRecorder desktop;
    TMessageDlgRecorder messages;
    RunCompanionProgram(store, "sh", "", "https://example.invalid/sh");
    ASSERT_EQ(desktop.started.size(), 1u);
    EXPECT_EQ(desktop.started[0][0], QStandardPaths::findExecutable("sh").toStdString());
    EXPECT_TRUE(messages.Calls.empty());
}

TEST(RunCompanionProgram, MissingProgramSaysSoThenOpensTheWebPage) {
    TempDir dir;
    QSettings store(QString::fromStdString(dir.File("store.ini")), QSettings::IniFormat);
    for (const char* path : {"", "/no/such/folder/"}) {
        store.setValue("path", path);
        DesktopRecorder desktop;
        TMessageDlgRecorder messages;
        RunCompanionProgram(store, "tool", "", "https://example.invalid/tool");
        EXPECT_TRUE(desktop.started.empty());
        ASSERT_EQ(messages.Calls.size(), 1u);
        EXPECT_EQ(messages.Calls[0].Text,
                  "Component not found\r\nPlease download and install it from our site.");
        EXPECT_EQ(desktop.opened, (std::vector<std::string>{"https://example.invalid/tool"}));
    }
}

TEST(ShowHelpTopic, OpensAnExistingFileAndNamesAMissingOne) {
    TempDir dir;
    const std::string help = dir.File("sondrix help.chm");
    WriteWholeFile(help, {1});
    DesktopRecorder desktop;
    ShowHelpTopic(help, "");
    ShowHelpTopic(help, "intro");
    ASSERT_EQ(desktop.opened.size(), 2u);
    EXPECT_EQ(desktop.opened[0], "file://" + dir.Path() + "/sondrix%20help.chm");
    EXPECT_EQ(desktop.opened[1], desktop.opened[0] + "#intro");

    const std::string missing = dir.File("missing.chm");
    try {
        ShowHelpTopic(missing, "");
        FAIL() << "no error for a missing help file";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to open help file " + missing);
    }
    desktop.openResult = false;
    try {
        ShowHelpTopic(help, "");
        FAIL() << "no error when no program opens the help file";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to open help file " + help + "\rNo program on this system could open it");
    }
}
