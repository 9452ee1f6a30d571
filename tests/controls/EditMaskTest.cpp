#include "TEditMask.h"

#include <gtest/gtest.h>

TEST(EditMask, TranslatesToQtSyntax) {
    struct Case {
        const char* mask;
        const char* qt;
        bool save;
        char blank;
    } cases[] = {
        {"!999:99.000;1; ", "000:00.999; ", true, ' '},
        {"!999999999999999;1; ", "000000000000000; ", true, ' '},
        {"000-99;0;_", "999-00;_", false, '_'},
        {"LlAaCc#", "AaNnXx#;_", true, '_'},
        {">LL<ll<>cc", ">AA<aa!xx;_", true, '_'},
        {"\\0\\9_[{", "\\0\\9 \\[\\{;_", true, '_'},
        {"99\\;9;1;*", "00;0;*", true, '*'},
    };
    for (const Case& c : cases) {
        TEditMask mask(c.mask);
        EXPECT_EQ(mask.QtMask(), c.qt) << c.mask;
        EXPECT_EQ(mask.SaveLiterals(), c.save) << c.mask;
        EXPECT_EQ(mask.Blank(), c.blank) << c.mask;
    }
}

TEST(EditMask, TextMovesBlanksToTheFrontOfEachField) {
    TEditMask time("!999:99.000;1; ");
    struct Case {
        const char* edit;
        const char* text;
    } cases[] = {
        {" 01:01.001", " 01:01.001"}, {"1  :2 .3  ", "  1: 2.  3"}, {"   :  .   ", "   :  .   "},
        {"100:00.000", "100:00.000"}, {"1 2:3 .456", " 12: 3.456"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(time.TextFromEdit(c.edit), c.text) << c.edit;
}

TEST(EditMask, TextWithoutLeadingBlanksOrLiterals) {
    EXPECT_EQ(TEditMask("999:99;1;_").TextFromEdit("1__:2_"), "1  :2 ");
    EXPECT_EQ(TEditMask("!999:99;0;_").TextFromEdit("1__:2_"), "  1 2");
}

TEST(EditMask, SetTextFillsFieldsBetweenLiterals) {
    TEditMask time("!999:99.000;1; ");
    TEditMask frames("!999999999999999;1; ");
    struct Case {
        const TEditMask& mask;
        const char* text;
        const char* edit;
    } cases[] = {
        {time, "01:01.001", " 01:01.001"},
        {time, "00:00.000", " 00:00.000"},
        {time, "100:00.000", "100:00.000"},
        {time, "1:2.3", "  1: 2.  3"},
        {time, " 01:01.001", " 01:01.001"},
        {time, "1000:00.000", "100:00.000"},
        {time, "", "   :  .   "},
        {frames, "0", "              0"},
        {frames, "123456789012345", "123456789012345"},
        {frames, "44100", "          44100"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.mask.EditFromText(c.text), c.edit) << c.text;
        EXPECT_EQ(c.mask.TextFromEdit(c.mask.EditFromText(c.text)), c.edit) << c.text;
    }
}

TEST(EditMask, SetTextWithoutSavedLiteralsFillsInOrder) {
    TEditMask mask("000-00;0;_");
    EXPECT_EQ(mask.EditFromText("12345"), "123-45");
    EXPECT_EQ(mask.EditFromText("12"), "12_-__");
    EXPECT_EQ(mask.TextFromEdit("123-45"), "12345");
}
