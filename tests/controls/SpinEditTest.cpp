#include "TSpinEdit.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {
struct Limits {
    int32_t min;
    int32_t max;
};

// A spin edit in a shown window, with a button to move the focus to.
struct Window {
    QWidget window;
    TSpinEdit* spin = new TSpinEdit;
    QPushButton* button = new QPushButton("Ok");

    explicit Window(Limits limits) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(spin);
        layout->addWidget(button);
        spin->SetMinValue(limits.min);
        spin->SetMaxValue(limits.max);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    void Type(const char* keys) {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClick(spin->findChild<QLineEdit*>(), Qt::Key_Delete);
        QTest::keyClicks(spin->findChild<QLineEdit*>(), keys);
    }
};
} // namespace

TEST(SpinEdit, TypedValueReadsClampedEvenWhileFocused) {
    struct Case {
        Limits limits;
        const char* typed;
        int32_t value;
    } cases[] = {
        {{0, 100}, "150", 100},    {{1, 200}, "0", 1},     {{0, 100}, "-5", 0},
        {{0, 100}, "42", 42},      {{0, 0}, "-250", -250}, {{0, 0}, "99999999", 99999999},
        {{1, 200}, "", 1},         {{1, 200}, "-", 1},     {{0, 100}, "1+2", 0},
        {{0, 0}, "2147483648", 0},
    };
    for (const Case& c : cases) {
        Window w(c.limits);
        w.Type(c.typed);
        EXPECT_EQ(w.spin->text().toStdString(), c.typed);
        EXPECT_EQ(w.spin->Value(), c.value) << c.typed;
    }
}

TEST(SpinEdit, LeavingTheBoxClampsItsText) {
    struct Case {
        Limits limits;
        const char* typed;
        const char* shown;
    } cases[] = {
        {{0, 100}, "150", "100"},
        {{1, 200}, "0", "1"},
        {{0, 0}, "-3000", "-3000"},
        {{1, 200}, "", "1"},
    };
    for (const Case& c : cases) {
        Window w(c.limits);
        w.Type(c.typed);
        QTest::mouseClick(w.button, Qt::LeftButton);
        EXPECT_TRUE(w.button->hasFocus());
        EXPECT_EQ(w.spin->text().toStdString(), c.shown) << c.typed;
    }
}

TEST(SpinEdit, TypingAcceptsOnlyDigitsAndSigns) {
    Window w({0, 0});
    w.Type("1a2.5b");
    EXPECT_EQ(w.spin->text().toStdString(), "125");
    EXPECT_EQ(w.spin->Value(), 125);
}

TEST(SpinEdit, SetAndStepClamp) {
    TSpinEdit spin;
    spin.SetMinValue(1);
    spin.SetMaxValue(200);
    spin.SetValue(101);
    EXPECT_EQ(spin.Value(), 101);
    spin.SetValue(500);
    EXPECT_EQ(spin.text().toStdString(), "200");
    spin.stepBy(1);
    EXPECT_EQ(spin.Value(), 200);
    spin.stepBy(-3);
    EXPECT_EQ(spin.Value(), 197);
    spin.SetValue(-7);
    EXPECT_EQ(spin.Value(), 1);
    spin.stepBy(-1);
    EXPECT_EQ(spin.Value(), 1);

    TSpinEdit free;
    free.SetValue(-7);
    free.stepBy(-1);
    EXPECT_EQ(free.Value(), -8);
}

TEST(SpinEdit, ArrowKeysStep) {
    Window w({0, 100});
    w.spin->SetValue(99);
    w.spin->setFocus();
    QTest::keyClick(w.spin, Qt::Key_Up);
    QTest::keyClick(w.spin, Qt::Key_Up);
    EXPECT_EQ(w.spin->Value(), 100);
    QTest::keyClick(w.spin, Qt::Key_Down);
    EXPECT_EQ(w.spin->Value(), 99);
}
