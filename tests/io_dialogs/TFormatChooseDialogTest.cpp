// The format chooser's window, offscreen: its title and lists, where it starts, and what OK
// and Cancel give back to the caller.
#include "TFormatChooseDialog.h"
#include "DialogFormatChooser.h"
#include "FormatChoice.h"
#include "FormatChooseRequest.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

WAVEFORMATEX Pcm(uint32_t rate, uint16_t channels) {
    WAVEFORMATEX f{};
    f.wFormatTag = 1;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.nBlockAlign = uint16_t(2 * channels);
    f.nAvgBytesPerSec = rate * f.nBlockAlign;
    f.wBitsPerSample = 16;
    return f;
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

TEST(TFormatChooseDialog, ShowsTheTitleTagsAndStartingFormat) {
    FormatChooseRequest request(Pcm(44100, 2));
    const FormatChoice choice(request.Choose);
    TFormatChooseDialog dialog(choice, "Choose format...");
    EXPECT_EQ(dialog.windowTitle(), "Choose format...");
    EXPECT_EQ(dialog.findChild<QComboBox*>("FormatCombo"), dialog.FormatCombo);
    EXPECT_EQ(Items(dialog.FormatCombo),
              (QStringList{"PCM", "IEEE Float", "A-Law", "u-Law", "IMA ADPCM", "Microsoft ADPCM"}));
    EXPECT_EQ(dialog.FormatCombo->currentText(), "PCM");
    EXPECT_EQ(dialog.AttributesCombo->currentText(), "44,100 Hz, 16 Bit, Stereo  172 kb/sec");
    EXPECT_TRUE(Items(dialog.AttributesCombo).contains("8,000 Hz, 8 Bit, Mono  8 kb/sec"));
}

TEST(TFormatChooseDialog, ChangingTheTagListsItsFormats) {
    FormatChooseRequest request(Pcm(8000, 1));
    const FormatChoice choice(request.Choose);
    TFormatChooseDialog dialog(choice, "Choose format...");
    dialog.FormatCombo->setCurrentText("GSM 6.10");
    EXPECT_EQ(Items(dialog.AttributesCombo), QStringList{"8,000 Hz, Mono  2 kb/sec"});
    EXPECT_EQ(dialog.SelectedTag(), 6u);
    EXPECT_EQ(dialog.SelectedFormat(), 0u);
}

/// Presses a button of the modal chooser once it is up.
void PressWhenShown(QDialogButtonBox::StandardButton which, QString* title,
                    std::function<void(TFormatChooseDialog*)> before = {}) {
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<TFormatChooseDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        *title = dialog->windowTitle();
        if (before)
            before(dialog);
        dialog->Buttons->button(which)->click();
    });
}

TEST(DialogFormatChooser, OkWritesTheChosenFormatIntoTheBuffer) {
    FormatChooseRequest request(Pcm(22050, 2));
    request.Buffer.back() = 0xAA;
    QString title;
    PressWhenShown(QDialogButtonBox::Ok, &title, [](TFormatChooseDialog* dialog) {
        dialog->FormatCombo->setCurrentText("IMA ADPCM");
    });
    DialogFormatChooser chooser;
    EXPECT_EQ(chooser.Choose(request.Choose), 0u);
    EXPECT_EQ(title, "Choose format...");
    const WAVEFORMATEX chosen = ReadWaveFormat(request.Buffer.data());
    EXPECT_EQ(chosen.wFormatTag, 0x11u);
    EXPECT_EQ(chosen.nSamplesPerSec, 22050u);
    EXPECT_EQ(chosen.nChannels, 2u);
    EXPECT_EQ(request.Buffer.back(), 0);
}

TEST(DialogFormatChooser, CancelLeavesTheBufferAndReportsCancel) {
    FormatChooseRequest request(Pcm(22050, 2));
    const WaveFormatBlock before = request.Buffer;
    QString title;
    PressWhenShown(QDialogButtonBox::Cancel, &title, [](TFormatChooseDialog* dialog) {
        dialog->FormatCombo->setCurrentText("A-Law");
    });
    DialogFormatChooser chooser;
    EXPECT_EQ(chooser.Choose(request.Choose), ACMERR_CANCELED);
    EXPECT_EQ(request.Buffer, before);
}

} // namespace
