#include "CheckForUpdates.h"
#include "DialogDriver.h"
#include "FakeUpdateServer.h"
#include "ShellRecorder.h"
#include "TAboutForm.h"
#include "TMessageDlgRecorder.h"
#include "VersionRecordFiles.h"

#include <gtest/gtest.h>

namespace {
struct AboutFormTest : testing::Test {
    ShellRecorder shell;
};
} // namespace

TEST_F(AboutFormTest, ShowsTheProgramsVersion) {
    TMessageDlgRecorder recorder;
    TAboutForm form;
    EXPECT_TRUE(recorder.Calls.empty());
    EXPECT_EQ(form.windowTitle().toStdString(), "About Sondrix Audio Editor");
    EXPECT_EQ(form.size(), QSize(500, 279));
    EXPECT_EQ(form.Label1->text().toStdString(), "Sondrix Audio Editor");
    EXPECT_EQ(form.Label1->font().pixelSize(), 19);
    EXPECT_EQ(form.GroupBox1->title().toStdString(), "  Program's Information  ");
    EXPECT_EQ(form.InfoLabel->text().toStdString(), "Product Information");
    EXPECT_EQ(form.UpdateLabel->text().toStdString(), "Check updates...");
    EXPECT_EQ(form.Label6->text().toStdString(),
              std::string("Product Version: ") + SONDRIX_VERSION);
    EXPECT_EQ(form.Button1->text().toStdString(), "Close");
    EXPECT_EQ(form.Panel1->height(), 81);
}

TEST_F(AboutFormTest, VersionErrorIsShownAndTheBoxStillOpens) {
    UpdateSite.ProgramFile = "/nonexistent/sondrix";
    TMessageDlgRecorder recorder;
    TAboutForm form;
    ASSERT_EQ(recorder.Calls.size(), 1u);
    EXPECT_EQ(recorder.Calls[0].Text, "File not found: /nonexistent/sondrix.");
    EXPECT_EQ(recorder.Calls[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(form.Label6->text().toStdString(), "Product Version: ");
    EXPECT_EQ(RunModal(form, [&] { QTest::mouseClick(form.Button1, Qt::LeftButton); }), mrCancel);
}

TEST_F(AboutFormTest, InformationLinkOpensTheProductPage) {
    TAboutForm form;
    RunModal(form, [&] {
        QTest::mouseClick(form.InfoLabel, Qt::LeftButton);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    ASSERT_EQ(shell.Opened.size(), 1u);
    EXPECT_EQ(shell.Opened[0], "http://www.quorvantex.com/sondrix/");
}

TEST_F(AboutFormTest, InformationLinkThatNoProgramOpensSaysSo) {
    shell.Opens = false;
    TMessageDlgRecorder recorder;
    TAboutForm form;
    RunModal(form, [&] {
        QTest::mouseClick(form.InfoLabel, Qt::LeftButton);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    ASSERT_EQ(recorder.Calls.size(), 1u);
    EXPECT_EQ(recorder.Calls[0].Text,
              "No program on this system could open \"http://www.quorvantex.com/sondrix/\"");
    EXPECT_EQ(recorder.Calls[0].Type, TMsgDlgType::mtError);
}

TEST_F(AboutFormTest, UpdateLinkRunsTheCheckAndShowsItsErrors) {
    TempDir dir;
    TAboutForm form;
    UpdateSite.ProgramFile =
        versionrecord::ObjcopyFile(dir, "sondrix", versionrecord::ProgramRecord("4.1.0.0"));
    FakeUpdateServer latest(FakeUpdateServer::Http("200 OK", "4.1.0.0"));
    FakeUpdateServer broken(FakeUpdateServer::Http("200 OK", "4..0.0"));
    TMessageDlgRecorder recorder;
    int result = RunModal(form, [&] {
        UpdateSite.Host = latest.Host();
        QTest::mouseClick(form.UpdateLabel, Qt::LeftButton);
        UpdateSite.Host = broken.Host();
        QTest::mouseClick(form.UpdateLabel, Qt::LeftButton);
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    EXPECT_EQ(result, mrCancel);
    ASSERT_EQ(recorder.Calls.size(), 2u);
    EXPECT_EQ(recorder.Calls[0].Text, "You already have the latest version  4.1.0.0");
    EXPECT_EQ(recorder.Calls[1].Text, "'' is not a valid integer value.");
    EXPECT_EQ(recorder.Calls[1].Type, TMsgDlgType::mtError);
}
