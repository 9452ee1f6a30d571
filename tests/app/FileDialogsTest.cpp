// The file dialogs the Open and Save commands run: the answers a test installs, and once those
// are gone, the dialogs themselves again.
#include "FakeFileDialogs.h"
#include "TestFiles.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(FileDialogs, InstalledAnswersGoWithTheirInstanceAndTheDialogRunsAgain) {
    TempDir dir;
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDirectory(QString::fromStdString(dir.Path()));
    dialog.setNameFilters({"WAV (*.wav)", "MP3 (*.mp3)"});
    {
        FakeFileDialogs fake;
        fake.AnswerSave(dir.File("answer.mp3"), 2);
        fake.OpenAnswer = {dir.File("a.wav"), dir.File("b.wav")};
        EXPECT_EQ(RunSaveDialog(dialog), dir.File("answer.mp3"));
        EXPECT_EQ(dialog.selectedNameFilter(), "MP3 (*.mp3)");
        EXPECT_EQ(RunOpenDialog(dialog), fake.OpenAnswer);
    }
    // Cancelled, the dialog gives nothing; accepted, the name chosen in it.
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    EXPECT_EQ(RunSaveDialog(dialog), "");
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    EXPECT_TRUE(RunOpenDialog(dialog).empty());
    const std::string name = dir.File("chosen.wav");
    QTimer::singleShot(0, &dialog, [&dialog] {
        QTest::keyClicks(dialog.findChild<QLineEdit*>("fileNameEdit"), "chosen.wav");
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    EXPECT_EQ(RunSaveDialog(dialog), name);
}
