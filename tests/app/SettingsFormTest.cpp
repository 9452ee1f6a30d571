#include "DialogDriver.h"
#include "FakeColorChooser.h"
#include "FakeFolderBrowser.h"
#include "Settings.h"
#include "TsettingsForm.h"
#include "ViewColors.h"

#include <gtest/gtest.h>

namespace {
// Loaded settings, the view colours as a document window sets them, and a folder browser that
// answers as the test says.
struct SettingsFormTest : testing::Test {
    FakeFolderBrowser browser;

    void SetUp() override {
        Settings = DefaultSettings();
        Settings.tempfolder = "/tmp/";
        Settings.wavecolor = 0x00FF00; // Lime: a listed colour
        ViewBackColor = Settings.backcolor;
        ViewScaleColor = Settings.scalecolor;
        ViewWaveColor = Settings.wavecolor;
    }

    static void Pick(TColorBox* box, const char* name) {
        int index = box->findText(name);
        ASSERT_GE(index, 0) << name;
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
};
} // namespace

TEST_F(SettingsFormTest, ShowsTheSettingsInForce) {
    TsettingsForm form;
    EXPECT_EQ(form.windowTitle().toStdString(), "Settings");
    EXPECT_EQ(form.PageControl1->tabText(0).toStdString(), "System");
    EXPECT_EQ(form.PageControl1->tabText(1).toStdString(), "Colors");
    EXPECT_EQ(form.PageControl1->currentIndex(), 0);
    EXPECT_EQ(form.GroupBox1->title().toStdString(), "  Temporary Folder  ");
    EXPECT_EQ(form.tmpedit->text().toStdString(), "/tmp/");
    EXPECT_EQ(form.backColor->Selected(), 0x88582Eu);
    EXPECT_EQ(form.scaleColor->Selected(), 0xDCDCDCu);
    EXPECT_EQ(form.waveColor->Selected(), 0x00FF00u);
    EXPECT_EQ(form.waveColor->currentText().toStdString(), "Lime");
    EXPECT_EQ(form.backColor->currentText().toStdString(), "Default");
    // Filling the boxes is not a user's change.
    EXPECT_EQ(ViewWaveColor, 0x00FF00u);
}

TEST_F(SettingsFormTest, ColourChangesApplyAtOnceAndCancelKeepsThem) {
    TsettingsForm form;
    struct Case {
        TColorBox* box;
        const char* name;
        const uint32_t* setting;
        const TColor* view;
        TColor color;
    } cases[] = {
        {form.waveColor, "Red", &Settings.wavecolor, &ViewWaveColor, 0x0000FF},
        {form.scaleColor, "Cream", &Settings.scalecolor, &ViewScaleColor, 0xF0FBFF},
        {form.backColor, "Navy", &Settings.backcolor, &ViewBackColor, 0x800000},
    };
    for (const Case& c : cases) {
        int result = RunModal(form, [&] {
            Pick(c.box, c.name);
            EXPECT_EQ(*c.setting, c.color) << "applied before the dialog closes";
            QTest::mouseClick(form.Button2, Qt::LeftButton);
        });
        EXPECT_EQ(result, mrCancel);
        EXPECT_EQ(*c.setting, c.color) << c.name;
        EXPECT_EQ(*c.view, c.color) << c.name;
    }
    EXPECT_EQ(Settings.wavecolor, 0x0000FFu);
}

TEST_F(SettingsFormTest, CustomColourGoesIntoSettings) {
    TsettingsForm form;
    FakeColorChooser chooser(true, 0x2468AC);
    Pick(form.waveColor, "Custom...");
    EXPECT_EQ(Settings.wavecolor, 0x2468ACu);
    EXPECT_EQ(ViewWaveColor, 0x2468ACu);
}

TEST_F(SettingsFormTest, TypedFolderChangesNothing) {
    TsettingsForm form;
    int result = RunModal(form, [&] {
        form.PageControl1->setCurrentIndex(0);
        QTest::mouseClick(form.tmpedit, Qt::LeftButton);
        form.tmpedit->selectAll();
        QTest::keyClicks(form.tmpedit, "/elsewhere");
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(Settings.tempfolder, "/tmp/");
}

TEST_F(SettingsFormTest, FolderBrowserSetsTheFolderAtOnce) {
    TsettingsForm form;
    browser.Answer = "/var/tmp/sondrix";
    int result = RunModal(form, [&] {
        QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    EXPECT_EQ(result, mrCancel);
    EXPECT_EQ(browser.Title, "Select the folder for temporary files");
    EXPECT_EQ(Settings.tempfolder, "/var/tmp/sondrix");
    EXPECT_EQ(form.tmpedit->text().toStdString(), "/var/tmp/sondrix");
}

TEST_F(SettingsFormTest, CancelledBrowserLeavesTheFolder) {
    TsettingsForm form;
    browser.Answer = "";
    QTest::mouseClick(form.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(Settings.tempfolder, "/tmp/");
    EXPECT_EQ(form.tmpedit->text().toStdString(), "/tmp/");
}
