#include "TProgressForm.h"

#include "MainThreadDispatcher.h"
#include "SessionBusTest.h"
#include "TProgressEvent.h"
#include "TWorkerTable.h"
#include "Twavefile.h"
#include "UserInterface.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QProgressBar>

#include <gtest/gtest.h>

namespace {

void Post(TProgressForm& form, int32_t percent) {
    QCoreApplication::postEvent(&form, new TProgressEvent(percent));
    QCoreApplication::sendPostedEvents(&form);
}

class TProgressFormDBus : public SessionBusTest {};

/// Installs a worker and the form as the progress host while it lives.
struct Installed {
    Installed(TProgressForm& form, TWorker worker) {
        UserInterface::SetProgressHost(&form);
        TWorkerTable::Register(opcopy, std::move(worker));
    }
    ~Installed() {
        UserInterface::SetProgressHost(nullptr);
        TWorkerTable::Unregister(opcopy);
    }
};

} // namespace

TEST(TProgressForm, IsAFixedToolWindowWithAZeroToHundredBar) {
    TProgressForm form;
    EXPECT_EQ(form.objectName(), "ProgressForm");
    EXPECT_EQ(form.windowTitle(), "Progress...");
    EXPECT_EQ(form.size(), QSize(332, 62));
    const Qt::WindowFlags flags = form.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::Tool));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_EQ(form.findChild<QProgressBar*>("ProgressBar"), form.ProgressBar);
    EXPECT_EQ(form.ProgressBar->geometry(), QRect(16, 20, 297, 17));
    EXPECT_EQ(form.ProgressBar->minimum(), 0);
    EXPECT_EQ(form.ProgressBar->maximum(), 100);
}

TEST(TProgressForm, PercentagesMoveTheBar) {
    TProgressForm form;
    const struct {
        int32_t percent;
        int bar;
        bool taskbarVisible;
    } steps[] = {{0, 0, false}, {37, 37, true}, {38, 38, true}, {100, 100, false}, {0, 0, false}};
    for (const auto& step : steps) {
        Post(form, step.percent);
        EXPECT_EQ(form.ProgressBar->value(), step.bar) << step.percent;
        EXPECT_EQ(form.TaskbarProgress->Visible, step.taskbarVisible) << step.percent;
    }
}

TEST(TProgressForm, ShowingResetsTheBar) {
    TProgressForm form;
    Post(form, 60);
    ASSERT_EQ(form.ProgressBar->value(), 60);
    form.show();
    EXPECT_EQ(form.ProgressBar->value(), 0);
}

TEST(TProgressForm, DocumentOperationShowsItModallyUntilTheEnd) {
    TProgressForm form;
    bool visibleDuringWorker = false;
    bool modalDuringWorker = false;
    Installed installed(form, [&](Twavefile& document) {
        document.postprogress(37);
        MainThreadDispatcher::Synchronize([&] {
            QCoreApplication::sendPostedEvents(&form);
            visibleDuringWorker = form.isVisible() && form.ProgressBar->value() == 37;
            modalDuringWorker = form.isModal() || form.windowModality() == Qt::ApplicationModal;
        });
    });
    Twavefile document;
    document.createnew("doc.wav", 44100, 2, 16);
    document.operation = opcopy;
    document.startoperation();
    EXPECT_TRUE(visibleDuringWorker);
    EXPECT_TRUE(modalDuringWorker);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.ProgressBar->value(), 0); // the end posts 0
    EXPECT_FALSE(form.TaskbarProgress->Visible);
}

TEST(TProgressForm, UserCannotCloseItWhileAnOperationRuns) {
    TProgressForm form;
    bool stillVisible = false;
    Installed installed(form, [&](Twavefile&) {
        MainThreadDispatcher::Synchronize([&] {
            form.close(); // the window manager's close
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&form, &escape);
            form.reject();
            stillVisible = form.isVisible();
        });
    });
    Twavefile document;
    document.createnew("doc.wav", 44100, 1, 16);
    document.operation = opcopy;
    document.startoperation();
    EXPECT_TRUE(stillVisible);
    EXPECT_FALSE(form.isVisible());
}

TEST(TProgressForm, MinimisingBringsItAndTheMainWindowBack) {
    QWidget main;
    main.show();
    TProgressForm form(&main);
    bool shownNormal = false;
    Installed installed(form, [&](Twavefile&) {
        MainThreadDispatcher::Synchronize([&] {
            // What a window manager does to a minimised transient window and its owner.
            main.setWindowState(Qt::WindowMinimized);
            form.setWindowState(Qt::WindowMinimized);
            shownNormal = !form.isMinimized() && !main.isMinimized();
        });
    });
    Twavefile document;
    document.createnew("doc.wav", 44100, 1, 16);
    document.operation = opcopy;
    document.startoperation();
    EXPECT_TRUE(shownNormal);
    // Minimised while hidden, it still shows normally with the next operation.
    form.setWindowState(Qt::WindowMinimized);
    main.setWindowState(Qt::WindowNoState);
    bool minimisedDuringNext = true;
    TWorkerTable::Register(opcopy, [&](Twavefile&) {
        MainThreadDispatcher::Synchronize([&] { minimisedDuringNext = form.isMinimized(); });
    });
    document.startoperation();
    EXPECT_FALSE(minimisedDuringNext);
}

TEST_F(TProgressFormDBus, PercentagesSendTheTaskbarSignals) {
    TProgressForm form(nullptr, LauncherEntrySubscriber::SenderBus());
    ASSERT_TRUE(Subscriber.WaitFor(3)); // creation: no progress, normal, hidden again
    Subscriber.Records.clear();
    const struct {
        int32_t percent;
        QStringList sent;
    } steps[] = {
        {0, {"progress-visible=false"}},
        {37, {"progress-visible=true", "progress=0.37"}}, // normal once, then the value
        {38, {"progress=0.38"}},                          // only the value
        {100, {"progress-visible=false"}},
    };
    for (const auto& step : steps) {
        Subscriber.Records.clear();
        Post(form, step.percent);
        ASSERT_TRUE(Subscriber.WaitFor(int(step.sent.size()))) << step.percent;
        EXPECT_EQ(Subscriber.Records, step.sent) << step.percent;
        EXPECT_EQ(form.ProgressBar->value(), step.percent);
    }
}
