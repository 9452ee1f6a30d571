#include "StrToInt.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

TEST(StrToInt, AcceptsPlatformForms) {
    struct Case {
        const char* text;
        int32_t value;
    } cases[] = {{"0", 0},
                 {"  42", 42},
                 {"-17", -17},
                 {"+5", 5},
                 {"2147483647", INT32_MAX},
                 {"-2147483648", INT32_MIN},
                 {"007", 7},
                 {"$FF", 255},
                 {"0x10", 16}};
    for (const Case& c : cases)
        EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToInt, RejectsWithPlatformMessage) {
    for (const char* text :
         {"", " ", "12 ", "1.5", "abc", "2147483648", "-2147483649", "-", "1e3"}) {
        try {
            StrToInt(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "'" + std::string(text) + "' is not a valid integer value");
        }
    }
}
