#include "TModalFocusKeeper.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

/// A main window with two fields, the second one focused, and active.
struct MainWithFields {
    MainWithFields() {
        auto* layout = new QVBoxLayout(&Window);
        layout->addWidget(First);
        layout->addWidget(Second);
        Window.show();
        QApplication::setActiveWindow(&Window);
        Second->setFocus();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&Window));
    }
    QWidget Window;
    QLineEdit* First = new QLineEdit;
    QLineEdit* Second = new QLineEdit;
};

} // namespace

TEST(TModalFocusKeeper, AModalWindowThatHidesGivesActivationAndFocusBack) {
    TModalFocusKeeper keeper;
    MainWithFields main;
    QDialog modal(&main.Window);
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    QApplication::setActiveWindow(&modal);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&modal));
    // A popup that the modal window opened (a completion list) and left open.
    QMenu popup(&modal);
    popup.addAction("entry");
    popup.popup(QPoint(0, 0));
    ASSERT_EQ(QApplication::activePopupWidget(), &popup);

    modal.hide();
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &main.Window; }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == main.Second; }));
}
