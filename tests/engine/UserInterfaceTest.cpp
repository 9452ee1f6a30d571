#include "UserInterface.h"

#include "FakeUserInterface.h"
#include "MainThreadDispatcher.h"
#include "TProgressEvent.h"
#include "WaitFor.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(UserInterface, MessageBoxFromAWorkerIsShownOnTheMainThread) {
    FakeUserInterface ui;
    ui.Messages.Answer = IDYES;
    std::atomic<int32_t> result = 0;
    std::atomic<bool> done = false;
    std::thread worker([&] {
        result = UserInterface::MessageBox("Would you like to save changes?", "Sondrix",
                                           MB_YESNOCANCEL | MB_ICONQUESTION);
        done = true;
    });
    ASSERT_TRUE(
        WaitFor([&] { return done.load(); }, 10, "the message box from the worker",
                [] { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10); }));
    worker.join();
    EXPECT_EQ(result, IDYES);
    ASSERT_EQ(ui.Messages.Boxes.size(), 1u);
    EXPECT_TRUE(ui.Messages.Boxes[0].OnMainThread);
    EXPECT_EQ(ui.Messages.Boxes[0].Text, "Would you like to save changes?");
    EXPECT_EQ(ui.Messages.Boxes[0].Style, uint32_t(MB_YESNOCANCEL | MB_ICONQUESTION));
}

TEST(UserInterface, WithoutAnInstalledBoxTheCautiousButtonAnswers) {
    const struct {
        uint32_t style;
        int32_t result;
    } cases[] = {
        {MB_OK | MB_ICONEXCLAMATION, IDOK},
        {MB_OKCANCEL, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL, IDCANCEL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UserInterface::MessageBox("text", "caption", c.style), c.result) << c.style;
}

TEST(UserInterface, ProgressGoesToTheInstalledHostElseToTheWindowlessOne) {
    UserInterface::PostProgress(12);
    QCoreApplication::sendPostedEvents();
    {
        FakeUserInterface ui;
        UserInterface::PostProgress(34);
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(ui.Progress.Received, (std::vector<int32_t>{34}));
    }
    auto& windowless = dynamic_cast<TEventLoopProgressHost&>(UserInterface::ProgressHost());
    EXPECT_EQ(windowless.LastPercent, 12);
}

TEST(UserInterface, ProgressEventIsType1025WithThePercentInBothParameters) {
    const TProgressEvent event(42);
    EXPECT_EQ(int(event.type()), 1025);
    EXPECT_EQ(event.WParam, 42);
    EXPECT_EQ(event.LParam, 42);
}
