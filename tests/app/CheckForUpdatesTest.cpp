#include "CheckForUpdates.h"
#include "Exceptions.h"
#include "FakeUpdateServer.h"
#include "ShellRecorder.h"
#include "TMessageDlgRecorder.h"
#include "TestFiles.h"
#include "VersionRecordFiles.h"

#include <gtest/gtest.h>

namespace {
// The update check against a local server, with a program file of version 4.1.0.0, the shell
// replaced and message dialogs recorded.
struct CheckForUpdatesTest : testing::Test {
    TempDir dir;
    ShellRecorder shell;

    void SetUp() override {
        UpdateSite.ProgramFile =
            versionrecord::ObjcopyFile(dir, "sondrix", versionrecord::ProgramRecord("4.1.0.0"));
    }

    // Runs the check against `server`, answering the message dialogs with `answers`.
    std::vector<TMessageDlgRecorder::Call> Check(const std::string& host,
                                                 std::deque<int> answers = {}) {
        UpdateSite.Host = host;
        TMessageDlgRecorder recorder(std::move(answers));
        CheckForUpdates();
        return recorder.Calls;
    }

    static std::string Offer(const std::string& response, const std::string& host) {
        return "New Version " + response + "\r\navailable from http://" + host +
               "\r\nWould you like to download it now?";
    }
};
} // namespace

TEST_F(CheckForUpdatesTest, AsksTheVersionQueryWithTheProgramsName) {
    FakeUpdateServer server(FakeUpdateServer::Http("200 OK", "4.1.0.0"));
    Check(server.Host());
    EXPECT_EQ(server.RequestLine(),
              "GET /pad/getpad.php?pad=sondrix/sondrix.xml&field=version HTTP/1.1");
    EXPECT_EQ(server.Header("User-Agent"), "sondrix");
    EXPECT_EQ(server.Header("Host"), server.Host());
}

TEST_F(CheckForUpdatesTest, NewerVersionIsOfferedAndYesOpensTheDownload) {
    FakeUpdateServer server(FakeUpdateServer::Http("200 OK", "4.1.0.1"));
    auto calls = Check(server.Host(), {mrYes});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Text, Offer("4.1.0.1", server.Host()));
    EXPECT_EQ(calls[0].Type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(calls[0].Buttons, mbYes | mbNo);
    ASSERT_EQ(shell.Opened.size(), 1u);
    EXPECT_EQ(shell.Opened[0], "http://" + server.Host() + "/downloads/sondrix.exe");
}

TEST_F(CheckForUpdatesTest, NoLeavesTheDownloadAlone) {
    FakeUpdateServer server(FakeUpdateServer::Http("200 OK", "5.0.0.0"));
    auto calls = Check(server.Host(), {mrNo});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Text, Offer("5.0.0.0", server.Host()));
    EXPECT_TRUE(shell.Opened.empty());
}

TEST_F(CheckForUpdatesTest, SameOrOlderVersionReportsTheLatest) {
    for (const char* answer : {"4.1.0.0", "4.0.99.99", "4.0.100.0", "Page not found", "4"}) {
        FakeUpdateServer server(FakeUpdateServer::Http("200 OK", answer));
        auto calls = Check(server.Host());
        ASSERT_EQ(calls.size(), 1u) << answer;
        EXPECT_EQ(calls[0].Text, "You already have the latest version  4.1.0.0") << answer;
        EXPECT_EQ(calls[0].Type, TMsgDlgType::mtConfirmation);
        EXPECT_EQ(calls[0].Buttons, mbOK);
    }
    EXPECT_TRUE(shell.Opened.empty());
}

TEST_F(CheckForUpdatesTest, LineBreakIsComparedTrimmedAndShownAsReceived) {
    FakeUpdateServer server(FakeUpdateServer::Http("200 OK", " 4.1.0.1\r\n"));
    auto calls = Check(server.Host(), {mrNo});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Text, Offer(" 4.1.0.1\r\n", server.Host()));
}

TEST_F(CheckForUpdatesTest, ReadsOnlyTheFirst1024Bytes) {
    // Read whole, the answer would end in "9" and fail to convert; cut, it is 4.1.0.1 and blanks.
    QByteArray body = "4.1.0.1" + QByteArray(1017, ' ') + QByteArray(976, '9');
    ASSERT_EQ(body.size(), 2000);
    FakeUpdateServer server(FakeUpdateServer::Http("200 OK", body));
    auto calls = Check(server.Host(), {mrNo});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Text, Offer(body.left(1024).toStdString(), server.Host()));
}

TEST_F(CheckForUpdatesTest, ErrorPageBodyCountsAsTheAnswer) {
    FakeUpdateServer server(FakeUpdateServer::Http("404 Not Found", "4.2.0.0"));
    auto calls = Check(server.Host(), {mrNo});
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Text, Offer("4.2.0.0", server.Host()));
}

TEST_F(CheckForUpdatesTest, NothingReadGivesUnableToConnect) {
    FakeUpdateServer empty(FakeUpdateServer::Http("200 OK", ""));
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const std::string closedHost = "127.0.0.1:" + std::to_string(closed.serverPort());
    closed.close();
    FakeUpdateServer stalled("", FakeUpdateServer::Mode::Stall);
    UpdateSite.TimeoutMs = 300;
    for (const std::string& host : {empty.Host(), closedHost, stalled.Host()}) {
        auto calls = Check(host);
        ASSERT_EQ(calls.size(), 1u) << host;
        EXPECT_EQ(calls[0].Text, "Unable to connect : " + host);
        EXPECT_EQ(calls[0].Type, TMsgDlgType::mtInformation);
        EXPECT_EQ(calls[0].Buttons, mbOK);
    }
    EXPECT_FALSE(stalled.Request.isEmpty()) << "the stalled server did get the request";
}

TEST_F(CheckForUpdatesTest, AnswerOtherThanDigitsAndDotsIsNoNewerVersion) {
    for (const char* answer : {"9.0.0.0.<a href=\"http://elsewhere.example/\">Get it here</a>",
                               "4.one.0.1", "<b>9.0.0.0</b>", "9.0.0.0 beta"}) {
        FakeUpdateServer server(FakeUpdateServer::Http("200 OK", answer));
        auto calls = Check(server.Host());
        ASSERT_EQ(calls.size(), 1u) << answer;
        EXPECT_EQ(calls[0].Text, "You already have the latest version  4.1.0.0") << answer;
        EXPECT_EQ(calls[0].Buttons, mbOK);
    }
    EXPECT_TRUE(shell.Opened.empty());
}

TEST_F(CheckForUpdatesTest, ConversionErrorEndsTheCheckWithoutAMessage) {
    FakeUpdateServer server(FakeUpdateServer::Http("200 OK", "4..0.1"));
    UpdateSite.Host = server.Host();
    TMessageDlgRecorder recorder;
    EXPECT_THROW(CheckForUpdates(), EConvertError);
    EXPECT_TRUE(recorder.Calls.empty());
}

TEST_F(CheckForUpdatesTest, ProgramFileWithoutVersionEndsTheCheck) {
    FakeUpdateServer server(FakeUpdateServer::Http("200 OK", "4.1.0.1"));
    UpdateSite.Host = server.Host();
    UpdateSite.ProgramFile = dir.File("gone");
    TMessageDlgRecorder recorder;
    EXPECT_THROW(CheckForUpdates(), Exception);
    EXPECT_TRUE(recorder.Calls.empty());
}
