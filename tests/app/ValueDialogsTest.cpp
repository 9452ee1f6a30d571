#include "DialogDriver.h"
#include "StrToInt.h"
#include "TNewFileForm.h"
#include "TamplifyForm.h"
#include "Tfnormalize.h"
#include "Tsilence.h"

#include <QApplication>
#include <QGroupBox>

#include <gtest/gtest.h>

namespace {
struct Look {
    const char* caption;
    const char* group;
    const char* ok;
    const char* cancel;
};

void ExpectLook(TValueDialog& dialog, QPushButton* ok, QPushButton* cancel, const Look& look) {
    EXPECT_EQ(dialog.windowTitle().toStdString(), look.caption);
    EXPECT_EQ(dialog.findChild<QGroupBox*>()->title().toStdString(), look.group);
    EXPECT_EQ(ok->text().toStdString(), look.ok);
    EXPECT_EQ(cancel->text().toStdString(), look.cancel);
    EXPECT_EQ(dialog.size(), QSize(292, 76));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
}

// Types into the spin edit and confirms with a click on OK; returns the modal result.
int TypeAndConfirm(TModalDialog& dialog, TSpinEdit* spin, QPushButton* ok, const char* keys) {
    return RunModal(dialog, [=] {
        TypeInto(spin, keys);
        QTest::mouseClick(ok, Qt::LeftButton);
    });
}
} // namespace

TEST(SilenceDialog, ShowsItsCaptionsAndStartsAt500MsWithOkFocused) {
    Tsilence dialog;
    ExpectLook(dialog, dialog.ok, dialog.cancel,
               {"Silence Duration", "Silence (ms)", "&Ok", "&Cancel"});
    EXPECT_EQ(dialog.pausems->Value(), 500);
    EXPECT_EQ(dialog.pausems->objectName().toStdString(), "pausems");
    RunModal(dialog, [&] {
        EXPECT_TRUE(dialog.ok->hasFocus());
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
}

TEST(SilenceDialog, HasNoLimitAndKeepsTheLastValue) {
    Tsilence dialog;
    for (auto [typed, value] : {std::pair{"-250", -250}, {"100000000", 100000000}, {"0", 0}}) {
        EXPECT_EQ(TypeAndConfirm(dialog, dialog.pausems, dialog.ok, typed), mrOk);
        EXPECT_EQ(dialog.pausems->Value(), value);
        EXPECT_EQ(RunModal(dialog, [&] { QTest::mouseClick(dialog.cancel, Qt::LeftButton); }),
                  mrCancel);
        EXPECT_EQ(dialog.pausems->Value(), value) << "the value stays for the next showing";
    }
}

TEST(NormalizeDialog, ClampsToZeroToHundredAndRemembers) {
    Tfnormalize dialog;
    ExpectLook(dialog, dialog.Button1, dialog.Button2,
               {"Normalization Settings", "Normalization (%)", "&Ok", "&Cancel"});
    EXPECT_EQ(dialog.SpinEdit->Value(), 95);
    struct Case {
        const char* typed;
        int32_t value;
        const char* shownAfter;
    } cases[] = {{"150", 100, "100"}, {"50", 50, "50"}, {"-1", 0, "0"}, {"", 0, "0"}};
    for (const Case& c : cases) {
        EXPECT_EQ(TypeAndConfirm(dialog, dialog.SpinEdit, dialog.Button1, c.typed), mrOk);
        EXPECT_EQ(dialog.SpinEdit->Value(), c.value) << c.typed;
        EXPECT_EQ(dialog.SpinEdit->text().toStdString(), c.shownAfter) << c.typed;
    }
}

TEST(NormalizeDialog, EnterConfirmsWhatWasTyped) {
    Tfnormalize dialog;
    int result = RunModal(dialog, [&] {
        TypeInto(dialog.SpinEdit, "150");
        QTest::keyClick(dialog.SpinEdit->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(dialog.SpinEdit->Value(), 100);
}

TEST(AmplifyDialog, ClampsToOneToTwoHundred) {
    TamplifyForm dialog;
    ExpectLook(dialog, dialog.Button1, dialog.Button2,
               {"Amplify", " Amplify (%) ", "&Ok", "&Cancel"});
    EXPECT_EQ(dialog.SpinEdit->Value(), 1);
    struct Case {
        int32_t preset;
        const char* typed;
        int32_t value;
    } cases[] = {{101, "0", 1}, {10, "250", 200}, {101, "abc", 1}, {10, "150", 150}};
    for (const Case& c : cases) {
        dialog.SpinEdit->SetValue(c.preset);
        EXPECT_EQ(dialog.SpinEdit->Value(), c.preset);
        EXPECT_EQ(TypeAndConfirm(dialog, dialog.SpinEdit, dialog.Button1, c.typed), mrOk);
        EXPECT_EQ(dialog.SpinEdit->Value(), c.value) << c.typed;
    }
}

TEST(NewFileDialog, OffersTheListedFormatsAndRemembersTheChoice) {
    TNewFileForm dialog;
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Create New File");
    EXPECT_EQ(dialog.size(), QSize(292, 135));
    QStringList rates;
    for (int i = 0; i < dialog.SamplerateBox->count(); ++i)
        rates << dialog.SamplerateBox->itemText(i);
    EXPECT_EQ(rates.join(",").toStdString(), "48000,44100,32000,22050,16000,11025,8000");
    EXPECT_EQ(dialog.ChannelsBox->count(), 2);
    EXPECT_EQ(dialog.ChannelsBox->itemText(1).toStdString(), "Stereo");
    EXPECT_FALSE(dialog.SamplerateBox->isEditable());

    // The caller's reading of the initial choice: 44100 Hz mono.
    EXPECT_EQ(RunModal(dialog, [&] { QTest::mouseClick(dialog.OkButton, Qt::LeftButton); }), mrOk);
    EXPECT_EQ(StrToInt(dialog.SamplerateBox->currentText().toStdString()), 44100);
    EXPECT_EQ(dialog.ChannelsBox->currentIndex() + 1, 1);

    int result = RunModal(dialog, [&] {
        dialog.SamplerateBox->setFocus();
        QTest::keyClick(dialog.SamplerateBox, Qt::Key_Down); // 32000
        QTest::keyClick(dialog.SamplerateBox, Qt::Key_Down); // 22050
        dialog.ChannelsBox->setFocus();
        QTest::keyClick(dialog.ChannelsBox, Qt::Key_Down); // Stereo
        QTest::mouseClick(dialog.OkButton, Qt::LeftButton);
    });
    EXPECT_EQ(result, mrOk);
    EXPECT_EQ(RunModal(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); }), mrCancel);
    EXPECT_EQ(dialog.SamplerateBox->currentText().toStdString(), "22050");
    EXPECT_EQ(dialog.ChannelsBox->currentIndex() + 1, 2);
}
