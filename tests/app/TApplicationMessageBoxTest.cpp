#include "TApplicationMessageBox.h"

#include "TApplicationErrorDisplay.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

/// What the box looked like, and a press on one of its buttons.
struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

/// Presses `button` on the next message box (or presses Esc when `button` is NoButton) and
/// records what it showed.
void AnswerNextBox(Seen& seen, QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        if (button == QMessageBox::NoButton) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &escape);
        } else {
            box->button(button)->click();
        }
    });
}

} // namespace

TEST(TApplicationMessageBox, ButtonsIconsAndResults) {
    const struct {
        uint32_t style;
        QMessageBox::StandardButton press;
        QMessageBox::StandardButtons buttons;
        QMessageBox::Icon icon;
        int32_t result;
    } cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning, IDOK},
        {MB_OK, QMessageBox::NoButton, QMessageBox::Ok, QMessageBox::NoIcon, IDOK},
        {MB_YESNOCANCEL | MB_ICONQUESTION, QMessageBox::Yes,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question, IDYES},
        {MB_YESNOCANCEL, QMessageBox::No, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
         QMessageBox::NoIcon, IDNO},
        {MB_YESNOCANCEL, QMessageBox::NoButton,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoIcon, IDCANCEL},
        {MB_YESNO | MB_ICONINFORMATION, QMessageBox::No, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::Information, IDNO},
        {MB_OKCANCEL | MB_ICONERROR, QMessageBox::Cancel, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Critical, IDCANCEL},
    };
    TApplicationMessageBox messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.style);
        Seen seen;
        AnswerNextBox(seen, c.press);
        EXPECT_EQ(messages.Show("File Loading Error text", "File Loading Error!", c.style),
                  c.result);
        EXPECT_EQ(seen.title, "File Loading Error!");
        EXPECT_EQ(seen.text, "File Loading Error text");
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.buttons, c.buttons);
    }
}

TEST(TApplicationErrorDisplay, ShowsTheMessageWithTheErrorIcon) {
    Seen seen;
    AnswerNextBox(seen, QMessageBox::Ok);
    TApplicationErrorDisplay errors;
    errors.ShowError("Disk full");
    EXPECT_EQ(seen.title, "Sondrix Audio Editor");
    EXPECT_EQ(seen.text, "Disk full.");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}
