#include "TMaskEdit.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {
const char* const TimeMask = "!999:99.000;1; ";
const char* const FrameMask = "!999999999999999;1; ";

void TypeFromStart(TMaskEdit& edit, const char* keys) {
    edit.setCursorPosition(0);
    QTest::keyClicks(&edit, keys);
}
} // namespace

TEST(MaskEdit, SetTextShowsTheProgramsText) {
    struct Case {
        const char* mask;
        const char* text;
        const char* shown;
    } cases[] = {
        {TimeMask, "01:01.001", " 01:01.001"},        {TimeMask, "100:00.000", "100:00.000"},
        {TimeMask, "00:00.000", " 00:00.000"},        {FrameMask, "0", "              0"},
        {FrameMask, "2147483647", "     2147483647"},
    };
    for (const Case& c : cases) {
        TMaskEdit edit;
        edit.SetEditMask(c.mask);
        edit.SetText(c.text);
        EXPECT_EQ(edit.displayText().toStdString(), c.shown) << c.text;
        EXPECT_EQ(edit.Text(), c.shown) << c.text;
    }
}

TEST(MaskEdit, TypedDigitsReadWithLeadingBlanks) {
    struct Case {
        const char* mask;
        const char* keys;
        const char* text;
    } cases[] = {
        // Typing fills positions from the cursor; literals are stepped over.
        {TimeMask, "012345678", "012:34.567"}, {TimeMask, "1", "  1:  .   "},
        {TimeMask, "1:2.345", "  1: 2.345"},   {FrameMask, "44100", "          44100"},
        {FrameMask, "7x", "              7"},
    };
    for (const Case& c : cases) {
        TMaskEdit edit;
        edit.SetEditMask(c.mask);
        TypeFromStart(edit, c.keys);
        EXPECT_EQ(edit.Text(), c.text) << c.keys;
    }
}

TEST(MaskEdit, ChangingTheMaskKeepsWhatFits) {
    TMaskEdit edit;
    edit.SetText("1234");
    EXPECT_EQ(edit.Text(), "1234");
    edit.SetEditMask(FrameMask);
    EXPECT_EQ(edit.Text(), "           1234");
    edit.SetEditMask("");
    EXPECT_EQ(edit.Text(), "           1234");
    EXPECT_EQ(edit.EditMask(), "");
}
