// The bounded wait of the tests: it returns once the condition holds and otherwise gives up with
// a message that names what it waited for.
#include "WaitFor.h"

#include <gtest/gtest.h>

TEST(WaitFor, RunsTheStepBetweenPollsUntilTheConditionHolds) {
    int steps = 0;
    EXPECT_TRUE(WaitFor([&] { return steps == 3; }, 10, "three steps", [&] { ++steps; }));
    EXPECT_EQ(steps, 3);
    EXPECT_TRUE(WaitFor([] { return true; }, 0, "what already holds"));
}

TEST(WaitFor, GivesUpNamingWhatItAwaited) {
    const ::testing::AssertionResult result = WaitFor([] { return false; }, 0.02, "the moon");
    EXPECT_FALSE(result);
    EXPECT_STREQ(result.message(), "gave up after 0.02 s waiting for the moon");
}
