#include "FakeColorChooser.h"
#include "TColorBox.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// What the user does: pick an entry from the list.
void Pick(TColorBox& box, int index) {
    box.setCurrentIndex(index);
    emit box.activated(index);
}
} // namespace

TEST(ColorBox, ListsCustomDefaultAndNamedColours) {
    TColorBox box;
    ASSERT_EQ(box.count(), 22);
    EXPECT_EQ(box.itemText(TColorBox::CustomIndex).toStdString(), "Custom...");
    EXPECT_EQ(box.itemText(TColorBox::DefaultIndex).toStdString(), "Default");
    struct Case {
        const char* name;
        TColor color;
    } cases[] = {{"Black", 0x000000},       {"Maroon", 0x000080},  {"Red", 0x0000FF},
                 {"Blue", 0xFF0000},        {"Lime", 0x00FF00},    {"White", 0xFFFFFF},
                 {"Money Green", 0xC0DCC0}, {"Sky Blue", 0xF0CAA6}};
    for (const Case& c : cases) {
        int index = box.findText(c.name);
        ASSERT_GE(index, 0) << c.name;
        box.setCurrentIndex(index);
        EXPECT_EQ(box.Selected(), c.color) << c.name;
    }
}

TEST(ColorBox, SetSelectedShowsColoursThatAreNotListed) {
    TColorBox box;
    box.SetDefaultColor(0x88582E);
    QSignalSpy changes(&box, &TColorBox::Change);
    struct Case {
        TColor color;
        const char* shown;
    } cases[] = {{0x0000FF, "Red"},
                 {0x88582E, "Default"},
                 {0xE9D9C8, "Custom..."},
                 {0xC0C0C0, "Silver"},
                 {0x123456, "Custom..."}};
    for (const Case& c : cases) {
        box.SetSelected(c.color);
        EXPECT_EQ(box.currentText().toStdString(), c.shown);
        EXPECT_EQ(box.Selected(), c.color);
        QColor swatch = box.itemIcon(box.currentIndex()).pixmap(16, 12).toImage().pixelColor(5, 5);
        EXPECT_EQ(QColorToColor(swatch), c.color);
    }
    EXPECT_EQ(changes.count(), 0);
}

TEST(ColorBox, UserChoiceFiresChange) {
    TColorBox box;
    box.SetSelected(0xE9D9C8);
    QSignalSpy changes(&box, &TColorBox::Change);
    Pick(box, box.findText("Navy"));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(box.Selected(), 0x800000u);
}

TEST(ColorBox, CustomEntryAsksForAColour) {
    TColorBox box;
    box.SetSelected(0x112233);
    QSignalSpy changes(&box, &TColorBox::Change);
    FakeColorChooser chooser(true, 0x445566);
    Pick(box, TColorBox::CustomIndex);
    EXPECT_EQ(chooser.Calls, 1);
    EXPECT_EQ(chooser.Shown, 0x112233u);
    EXPECT_EQ(box.Selected(), 0x445566u);
    EXPECT_EQ(changes.count(), 1);
}

TEST(ColorBox, CancelledChooserKeepsThePreviousColour) {
    TColorBox box;
    box.SetSelected(0x008080);
    QSignalSpy changes(&box, &TColorBox::Change);
    FakeColorChooser chooser(false, 0);
    Pick(box, TColorBox::CustomIndex);
    EXPECT_EQ(chooser.Calls, 1);
    EXPECT_EQ(box.currentText().toStdString(), "Olive");
    EXPECT_EQ(box.Selected(), 0x008080u);
    EXPECT_EQ(changes.count(), 0);
}

TEST(ColorBox, KeyboardChoiceFiresChange) {
    TColorBox box;
    box.SetSelected(0x000000);
    QSignalSpy changes(&box, &TColorBox::Change);
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(box.currentText().toStdString(), "Maroon");
    EXPECT_EQ(box.Selected(), 0x000080u);
}
