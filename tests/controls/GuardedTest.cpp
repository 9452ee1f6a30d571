#include "Guarded.h"
#include "Exceptions.h"
#include "TMessageDlgRecorder.h"

#include <gtest/gtest.h>

TEST(Guarded, ShowsTheExceptionAsTheApplicationDoes) {
    struct Case {
        std::function<void()> handler;
        const char* shown;
    } cases[] = {
        {[] { throw EConvertError("'x' is not a valid integer value"); },
         "'x' is not a valid integer value."},
        {[] { throw EReadError("File not found: /tmp/a.wav"); }, "File not found: /tmp/a.wav."},
        {[] { throw Exception("Unable to connect : "); }, "Unable to connect : "},
        {[] { throw Exception("Done."); }, "Done."},
        {[] { throw Exception("Done!"); }, "Done!"},
        {[] { throw Exception("(1)"); }, "(1)"},
        {[] { throw std::runtime_error("Out of range"); }, "Out of range."},
        {[] { throw 42; }, "Unknown exception."},
    };
    for (const Case& c : cases) {
        TMessageDlgRecorder recorder;
        Guarded(c.handler);
        ASSERT_EQ(recorder.Calls.size(), 1u) << c.shown;
        EXPECT_EQ(recorder.Calls[0].Text, c.shown);
        EXPECT_EQ(recorder.Calls[0].Caption, "Sondrix Audio Editor");
        EXPECT_EQ(recorder.Calls[0].Type, TMsgDlgType::mtError);
        EXPECT_EQ(recorder.Calls[0].Buttons, mbOK);
    }
}

TEST(Guarded, HandlerWithoutErrorShowsNothing) {
    TMessageDlgRecorder recorder;
    int runs = 0;
    Guarded([&runs] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(recorder.Calls.empty());
}

TEST(Guarded, EmptyMessageStaysEmpty) {
    EXPECT_EQ(ExceptionText(""), "");
}
