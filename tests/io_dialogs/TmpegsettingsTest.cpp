#include "Tmpegsettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

QStringList Texts(std::initializer_list<int> values) {
    QStringList texts;
    for (const int v : values)
        texts << QString::number(v);
    return texts;
}

/// Shows the dialog for a document at `rate` the way a save does, then hides it again.
void ShowFor(Tmpegsettings& dialog, int32_t rate) {
    dialog.docrate = rate;
    dialog.show();
    dialog.hide();
}

const QStringList HighRates =
    Texts({320, 256, 224, 192, 160, 128, 112, 96, 80, 64, 56, 48, 40, 32});
const QStringList LowRates = Texts({160, 144, 128, 112, 96, 80, 64, 56, 48, 40, 32, 24, 16, 8});
const QStringList LowestRates = Texts({128, 112, 96, 80, 64, 56, 48, 40, 32, 24, 16, 8});

} // namespace

TEST(Tmpegsettings, FormHoldsEveryControlWithItsText) {
    Tmpegsettings dialog;
    EXPECT_EQ(dialog.objectName(), "mpegsettings");
    EXPECT_EQ(dialog.windowTitle(), "MPEG Layer3 Settings");
    EXPECT_EQ(dialog.size(), QSize(290, 249));
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(dialog.GroupBox1->title(), "  MP3 Settings  ");
    EXPECT_EQ(Items(dialog.bitrate), HighRates + QStringList{"16"});
    EXPECT_EQ(Items(dialog.maxbitrate), HighRates + QStringList{"16"});
    EXPECT_EQ(Items(dialog.avgbitrate), HighRates);
    EXPECT_EQ(
        Items(dialog.vbrmode),
        (QStringList{"Constant Bitrate (CBR)", "Variable Bitrate (VBR)", "Average Bitrate (ABR)"}));
    for (const QComboBox* list :
         {dialog.bitrate, dialog.maxbitrate, dialog.avgbitrate, dialog.vbrmode})
        EXPECT_EQ(list->currentIndex(), 0) << list->objectName().toStdString();
    EXPECT_EQ(dialog.maxbitLabel->text(), "Maximum Bitrate:");
    EXPECT_EQ(dialog.vbrquality->minimum(), 0);
    EXPECT_EQ(dialog.vbrquality->maximum(), 8);
    EXPECT_EQ(dialog.crc->text(), "Checksum");
    EXPECT_FALSE(dialog.crc->isChecked());
    EXPECT_EQ(dialog.Button1->text(), "&Ok");
    EXPECT_EQ(dialog.Button2->text(), "Cancel");
    EXPECT_EQ(dialog.filledrate, 0);

    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    for (const char* text :
         {"Bitrate:", "Encoding Mode:", "Maximum Bitrate:", "Quality:", "Targeted Bitrate:"})
        EXPECT_TRUE(labels.contains(text)) << text;
    ASSERT_EQ(dialog.Notebook3->count(), 3);
    EXPECT_EQ(dialog.Notebook3->widget(0)->objectName(), "CBR");
    EXPECT_TRUE(dialog.Notebook3->widget(1)->isAncestorOf(dialog.vbrquality));
    EXPECT_TRUE(dialog.Notebook3->widget(2)->isAncestorOf(dialog.avgbitrate));
}

TEST(Tmpegsettings, ModeChoosesPageAndMaximumBitrate) {
    Tmpegsettings dialog;
    dialog.docrate = 44100;
    dialog.show();
    for (const int mode : {1, 2, 0}) {
        dialog.vbrmode->setCurrentIndex(mode);
        EXPECT_EQ(dialog.Notebook3->currentIndex(), mode);
        EXPECT_EQ(dialog.maxbitrate->isVisible(), mode != 0) << mode;
        EXPECT_EQ(dialog.maxbitLabel->isVisible(), mode != 0) << mode;
    }
    dialog.hide();
}

TEST(Tmpegsettings, ListsFollowTheDocumentRate) {
    struct Case {
        int32_t rate;
        QStringList items;
    } cases[] = {{22050, LowRates},   {44100, HighRates}, {11025, LowestRates}, {16000, LowRates},
                 {8000, LowestRates}, {48000, HighRates}, {96000, HighRates},   {32000, HighRates}};
    Tmpegsettings dialog;
    for (const Case& c : cases) {
        ShowFor(dialog, c.rate);
        for (const QComboBox* list : {dialog.bitrate, dialog.maxbitrate, dialog.avgbitrate})
            EXPECT_EQ(Items(list), c.items) << c.rate << " " << list->objectName().toStdString();
        EXPECT_EQ(dialog.filledrate, c.rate);
    }
}

TEST(Tmpegsettings, UnknownRateKeepsTheLists) {
    Tmpegsettings dialog;
    ShowFor(dialog, 11025);
    dialog.bitrate->setCurrentIndex(4);
    ShowFor(dialog, 96000);
    EXPECT_EQ(Items(dialog.bitrate), LowestRates);
    EXPECT_EQ(dialog.bitrate->currentIndex(), 4);
}

TEST(Tmpegsettings, SelectionsStayForTheSameRateAndResetForAnother) {
    Tmpegsettings dialog;
    ShowFor(dialog, 22050);
    dialog.bitrate->setCurrentIndex(3);
    dialog.maxbitrate->setCurrentIndex(5);
    dialog.avgbitrate->setCurrentIndex(7);
    dialog.vbrmode->setCurrentIndex(2);
    ShowFor(dialog, 22050);
    EXPECT_EQ(dialog.bitrate->currentIndex(), 3);
    EXPECT_EQ(dialog.maxbitrate->currentIndex(), 5);
    EXPECT_EQ(dialog.avgbitrate->currentIndex(), 7);
    EXPECT_EQ(dialog.Notebook3->currentIndex(), 2);
    ShowFor(dialog, 44100);
    EXPECT_EQ(dialog.bitrate->currentIndex(), 0);
    EXPECT_EQ(dialog.maxbitrate->currentIndex(), 0);
    EXPECT_EQ(dialog.avgbitrate->currentIndex(), 0);
    EXPECT_EQ(dialog.vbrmode->currentIndex(), 2) << "the mode is not a list of bitrates";
}

TEST(Tmpegsettings, OkGivesTheChoiceAndCancelNothing) {
    Tmpegsettings dialog;
    TMpegSettingsChoice choice;
    choice.Bitrate = 9;
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.focusWidget(), dialog.Button1);
        dialog.Button2->click();
    });
    EXPECT_FALSE(dialog.Execute(48000, choice));
    EXPECT_EQ(choice.Bitrate, 9);
    EXPECT_EQ(dialog.result(), 2);

    QTimer::singleShot(0, &dialog, [&] {
        dialog.bitrate->setCurrentIndex(5);
        dialog.vbrmode->setCurrentIndex(1);
        dialog.maxbitrate->setCurrentIndex(1);
        dialog.vbrquality->setValue(2);
        dialog.avgbitrate->setCurrentIndex(3);
        dialog.crc->setChecked(true);
        dialog.Button1->click();
    });
    ASSERT_TRUE(dialog.Execute(48000, choice));
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(choice.Bitrate, 5);
    EXPECT_EQ(choice.VbrMode, 1);
    EXPECT_EQ(choice.MaxBitrate, 1);
    EXPECT_EQ(choice.VbrQuality, 2);
    EXPECT_EQ(choice.AvgBitrate, 3);
    EXPECT_TRUE(choice.Crc);
    const TEncoderConfig config = choice.EncoderConfig(48000, 2);
    EXPECT_EQ(config.Bitrate, 128u);
    EXPECT_EQ(config.MaxBitrate, 256u);
    EXPECT_EQ(config.VbrQuality, 6);
}
