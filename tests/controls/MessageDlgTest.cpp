#include "MessageDlg.h"
#include "TMessageDlgRecorder.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
// Runs `action` on the message box once it is shown.
void WhenBoxShows(const std::function<void(QMessageBox*)>& action) {
    QTimer::singleShot(0, [action] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        action(box);
    });
}

void Press(QMessageBox* box, QMessageBox::StandardButton button) {
    QAbstractButton* b = box->button(button);
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton);
}
} // namespace

TEST(MessageDlg, ButtonsGiveThePlatformsResults) {
    struct Case {
        TMsgDlgButtons buttons;
        QMessageBox::StandardButton pressed;
        int result;
    } cases[] = {{mbOK, QMessageBox::Ok, 1},
                 {mbOK | mbCancel, QMessageBox::Cancel, 2},
                 {mbYes | mbNo, QMessageBox::Yes, 6},
                 {mbYes | mbNo, QMessageBox::No, 7},
                 {mbYes | mbNo | mbCancel, QMessageBox::Cancel, 2}};
    for (const Case& c : cases) {
        WhenBoxShows([&c](QMessageBox* box) { Press(box, c.pressed); });
        EXPECT_EQ(MessageDlg("Question?", TMsgDlgType::mtConfirmation, c.buttons), c.result);
    }
}

TEST(MessageDlg, EscapePressesCancelElseNoElseOk) {
    struct Case {
        TMsgDlgButtons buttons;
        int result;
    } cases[] = {{mbOK, mrOk},
                 {mbOK | mbCancel, mrCancel},
                 {mbYes | mbNo, mrNo},
                 {mbYes | mbNo | mbCancel, mrCancel}};
    for (const Case& c : cases) {
        WhenBoxShows([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); });
        EXPECT_EQ(MessageDlg("Text", TMsgDlgType::mtWarning, c.buttons), c.result);
    }
}

TEST(MessageDlg, ShowsCaptionIconAndTextBrokenAtEachReturn) {
    struct Case {
        TMsgDlgType type;
        const char* caption;
        QMessageBox::Icon icon;
    } cases[] = {{TMsgDlgType::mtWarning, "Warning", QMessageBox::Warning},
                 {TMsgDlgType::mtError, "Error", QMessageBox::Critical},
                 {TMsgDlgType::mtInformation, "Information", QMessageBox::Information},
                 {TMsgDlgType::mtConfirmation, "Confirmation", QMessageBox::Question}};
    for (const Case& c : cases) {
        WhenBoxShows([&c](QMessageBox* box) {
            EXPECT_EQ(box->windowTitle().toStdString(), c.caption);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->text().toStdString(), "Line one\nLine two\nLine three  ");
            Press(box, QMessageBox::Ok);
        });
        MessageDlg("Line one\rLine two\r\nLine three  ", c.type, mbOK);
    }
}

TEST(MessageDlgRecorder, RecordsAndAnswersWithoutShowing) {
    TMessageDlgRecorder recorder({mrNo});
    EXPECT_EQ(MessageDlg("First", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrNo);
    EXPECT_EQ(MessageDlg("Second", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrYes);
    EXPECT_EQ(MessageDlg("Third", TMsgDlgType::mtInformation, mbOK | mbCancel), mrOk);
    EXPECT_EQ(MessageDlg("Fourth", TMsgDlgType::mtInformation, mbCancel), mrCancel);
    ASSERT_EQ(recorder.Calls.size(), 4u);
    EXPECT_EQ(recorder.Calls[0].Text, "First");
    EXPECT_EQ(recorder.Calls[0].Caption, "Confirmation");
    EXPECT_EQ(recorder.Calls[0].Buttons, mbYes | mbNo);
    EXPECT_EQ(recorder.Calls[2].Type, TMsgDlgType::mtInformation);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(MessageDlgRecorder, NestedRecorderRestoresTheOuterOne) {
    TMessageDlgRecorder outer;
    {
        TMessageDlgRecorder inner;
        MessageDlg("inner", TMsgDlgType::mtInformation, mbOK);
        EXPECT_EQ(inner.Calls.size(), 1u);
    }
    MessageDlg("outer", TMsgDlgType::mtInformation, mbOK);
    ASSERT_EQ(outer.Calls.size(), 1u);
    EXPECT_EQ(outer.Calls[0].Text, "outer");
}
