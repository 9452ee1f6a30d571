#include "TWin7TaskProgressBar.h"

#include "SessionBusTest.h"

#include <gtest/gtest.h>

namespace {

const QString AppId = "application://sondrix.desktop";

class TWin7TaskProgressBarDBus : public SessionBusTest {
protected:
    /// The records that arrive after `count` were already there, once `more` have come.
    QStringList Next(qsizetype& seen, int more) {
        EXPECT_TRUE(Subscriber.WaitFor(int(seen) + more));
        QStringList got = Subscriber.Records.mid(seen);
        seen = Subscriber.Records.size();
        return got;
    }
};

} // namespace

TEST(TWin7TaskProgressBar, WithoutApplicationIdItStaysInactive) {
    TWin7TaskProgressBar bar(QString{});
    EXPECT_FALSE(bar.Active());
    EXPECT_EQ(bar.Max, 0);
    EXPECT_EQ(bar.Position, 0);
    EXPECT_EQ(bar.State, 0);
    bar.SetVisible(true);
    EXPECT_TRUE(bar.Visible);
    EXPECT_EQ(bar.State, 2);
    bar.SetState(4);
    EXPECT_EQ(bar.State, 4);
    bar.SetPosition(50);
    EXPECT_EQ(bar.Position, 0); // inactive: nothing sent, nothing kept
}

TEST(TWin7TaskProgressBar, WithoutSessionBusItStaysInactive) {
    const QDBusConnection none("no-such-connection");
    ASSERT_FALSE(none.isConnected());
    TWin7TaskProgressBar bar(AppId, none);
    EXPECT_FALSE(bar.Active());
    bar.SetVisible(false);
    EXPECT_EQ(bar.State, 0);
    EXPECT_FALSE(bar.Visible);
}

TEST_F(TWin7TaskProgressBarDBus, CreationHidesTheProgress) {
    qsizetype seen = 0;
    {
        TWin7TaskProgressBar bar(AppId, LauncherEntrySubscriber::SenderBus());
        ASSERT_TRUE(bar.Active());
        EXPECT_EQ(bar.Max, 100);
        EXPECT_EQ(bar.Position, 10);
        EXPECT_EQ(bar.State, 0);
        EXPECT_FALSE(bar.Visible);
        EXPECT_EQ(Next(seen, 3), (QStringList{"progress-visible=false", "progress-visible=true",
                                              "progress-visible=false"}));
        EXPECT_EQ(Subscriber.LastUri, AppId);
    }
    EXPECT_EQ(Next(seen, 1), (QStringList{"progress-visible=false"})); // cleared when freed
}

TEST_F(TWin7TaskProgressBarDBus, StateRules) {
    TWin7TaskProgressBar bar(AppId, LauncherEntrySubscriber::SenderBus());
    qsizetype seen = 0;
    Next(seen, 3);
    bar.SetVisible(true); // from state 0: normal once
    bar.SetVisible(true); // already normal: nothing
    bar.SetPosition(25);
    EXPECT_EQ(Next(seen, 2), (QStringList{"progress-visible=true", "progress=0.25"}));
    EXPECT_EQ(bar.Position, 25);
    bar.SetState(3); // error
    bar.SetVisible(true);
    EXPECT_EQ(Next(seen, 2), (QStringList{"progress-visible=true", "progress-visible=true"}));
    bar.SetVisible(false);
    bar.SetVisible(false); // hiding always sends
    EXPECT_EQ(Next(seen, 2), (QStringList{"progress-visible=false", "progress-visible=false"}));
    bar.SetState(9); // no such state: recorded, nothing sent
    EXPECT_EQ(bar.State, 9);
    bar.SetPosition(100);
    EXPECT_EQ(Next(seen, 1), (QStringList{"progress=1"}));
}
