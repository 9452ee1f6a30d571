#include "IsNewerVersion.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

TEST(IsNewerVersion, ComparesTheWeightedNumbers) {
    struct Case {
        const char* remote;
        const char* local;
        bool newer;
    } cases[] = {
        {"4.1.0.1", "4.1.0.0", true},
        {"4.1.0.0", "4.1.0.0", false},
        {"4.0.99.99", "4.1.0.0", false},
        {"5.0.0.0", "4.99.99.99", true},
        // Parts above 99 run into the next part: 1.0.100.0 is 1.1.0.0.
        {"1.0.100.0", "1.1.0.0", false},
        {"1.0.100.1", "1.1.0.0", true},
        // Missing parts count 0, extra parts are ignored.
        {"4.2", "4.1.0.0", true},
        {"4.1", "4.1.0.0", false},
        {"4.1.0.0.9", "4.1.0.0", false},
        {"4.1.0.1.x", "4.1.0.0", true},
        {"4.1.0.1", "4.1", true},
        // Either text without a "." is never newer.
        {"5", "4.1.0.0", false},
        {"Not Found", "4.1.0.0", false},
        {"", "4.1.0.0", false},
        {"5.0.0.0", "n/a", false},
        // Large parts do not overflow.
        {"3000.0.0.0", "2999.0.0.0", true},
        {"2147483647.0.0.0", "2147483646.99.99.99", true},
        {"-1.0.0.0", "0.0.0.0", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersion(c.remote, c.local), c.newer) << c.remote << " vs " << c.local;
}

TEST(IsNewerVersion, PartsThatAreNotIntegersRaiseTheConversionError) {
    struct Case {
        const char* remote;
        const char* local;
        const char* message;
    } cases[] = {
        {"4.x.0.1", "4.1.0.0", "'x' is not a valid integer value"},
        {"4.1.0.1", "4.1.0.beta", "'beta' is not a valid integer value"},
        {"4..0.1", "4.1.0.0", "'' is not a valid integer value"},
        {"4.1.0.", "4.1.0.0", "'' is not a valid integer value"},
        {"4.$1F.0.0", "4.1.0.0", "'$1F' is not a valid integer value"},
        {"4.0x10.0.0", "4.1.0.0", "'0x10' is not a valid integer value"},
        {"4.1.0.1 ", "4.1.0.0", "'1 ' is not a valid integer value"},
        {"4.1.0.99999999999", "4.1.0.0", "'99999999999' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        try {
            IsNewerVersion(c.remote, c.local);
            ADD_FAILURE() << "accepted " << c.remote << " vs " << c.local;
        } catch (const EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}
