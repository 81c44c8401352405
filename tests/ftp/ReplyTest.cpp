// Exact reply sequences from a scripted server: greetings, multi-line replies, refusals, a
// server that closes or never answers, the reply after a transfer's data, cancels, and the
// faults the library guards against.
#include "QorFtp.h"
#include "RecordingUi.h"
#include "ScriptedServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using tarvo::test::RecordingUi;
using tarvo::test::ScriptedServer;

namespace {

class Reply : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.SetUi(&ui);
        connection.SetTimeout(5);
    }

    // A multi-line greeting, read whole before USER goes out, and a plain USER/PASS login.
    static ScriptedServer& Greet(ScriptedServer& server)
    {
        return server.Send("220-Welcome\r\n220-second line\r\n220 ready\r\n")
            .Expect("USER ann").Send("331 password\r\n").Expect("PASS pw").Send("230 in\r\n");
    }

    int Login() { return connection.Login("127.0.0.1", "ann", "pw", server.port(), "acct"); }

    ScriptedServer server;
    RecordingUi ui;
    QorFtpConnection connection;
};

TEST_F(Reply, Greeting421FailsTheLogin)
{
    server.Send("421 Too many users\r\n").Hang();
    server.Start();
    EXPECT_EQ(Login(), 0);
    EXPECT_EQ(connection.GetError(), 421u);
    EXPECT_TRUE(ui.HasText("Login to '127.0.0.1' failed.\n\n421 Too many users"));
    EXPECT_TRUE(server.Received().empty());
}

TEST_F(Reply, PassFollowsUser230AndAcctFollowsPass332)
{
    server.Send("220 hi\r\n").Expect("USER").Send("230 no password needed\r\n")
        .Expect("PASS pw").Send("332 need account\r\n").Expect("ACCT acct").Send("230 ok\r\n");
    server.Start();
    EXPECT_EQ(Login(), 1);
    ASSERT_TRUE(server.WaitDone(2000));
    EXPECT_TRUE(server.Mismatches().empty());
}

// One reply to a command, single- or multi-line: its result, its message, and the next
// exchange in step (the whole reply was consumed). A line with another code inside a
// multi-line reply does not end it.
struct CommandCase {
    const char* name;
    const char* reply;
    int result;
    const char* message; // after "Delete file 'full' failed.\n\n"; null: none
};
void PrintTo(const CommandCase& c, std::ostream* out) { *out << c.name; }

class CommandReply : public Reply, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(CommandReply, DecidesTheResultAndKeepsTheChannelInStep)
{
    const CommandCase& c = GetParam();
    Greet(server).Expect("RMD full").Send(c.reply).Expect("NOOP").Send("200 ok\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.RemoveDirectoryA("full"), c.result);
    if (c.message)
        EXPECT_TRUE(ui.HasText(std::string("Delete file 'full' failed.\n\n") + c.message)) << ui.Last();
    else
        EXPECT_TRUE(ui.Messages().empty()) << ui.Last();
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, CommandReply,
    ::testing::Values(
        CommandCase{"Code400IsAnAcceptance", "400 odd but fine\r\n", 1, nullptr},
        CommandCase{"Code401IsARefusal", "401 no\r\n", 0, "401 no"},
        CommandCase{"UnnumberedLineIsTheText",
                    "550-Cannot remove\r\n  the folder is not empty\r\n  see the manual\r\n550 End\r\n", 0,
                    "  see the manual"},
        CommandCase{"InnerRefusalLine", "250-Removed\r\n550 inner line\r\n250 done\r\n", 1, nullptr},
        CommandCase{"InnerAcceptanceLine", "550-Refused\r\n250 inner line\r\n550 End\r\n", 0, "550 End"}));

TEST_F(Reply, ServerClosingIsAFailureNotASuccess)
{
    Greet(server).Expect("MKD x").Close();
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.MakeDirectory("x"), 0);
    EXPECT_EQ(connection.GetError(), 421u);
    EXPECT_EQ(connection.GetSocket(), nullptr);
    EXPECT_TRUE(ui.HasText("Connection closed by the server."));
    ui.Clear();
    EXPECT_EQ(connection.MakeDirectory("y"), 0);
    EXPECT_TRUE(ui.HasText("Not Connected."));
}

TEST_F(Reply, LoginTwiceAndCloseWithoutLogin)
{
    QorFtpConnection fresh;
    fresh.SetUi(&ui);
    fresh.Close();
    EXPECT_TRUE(ui.Messages().empty());

    Greet(server).Expect("QUIT").Send("221 bye\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(Login(), 0);
    EXPECT_TRUE(ui.HasText("Already Connected."));
    connection.Close();
    ASSERT_TRUE(server.WaitDone(2000));
}

TEST_F(Reply, LineBreakInsideAnArgumentIsNeverSent)
{
    Greet(server).Expect("NOOP").Send("200 ok\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.DeleteFileA("a\r\nDELE important"), 0);
    EXPECT_EQ(connection.Rename("ok", "b\nRMD /"), 0);
    EXPECT_EQ(connection.SendRaw("NOOP\r\nDELE x\r\n", 1), 0);
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
    ASSERT_TRUE(server.WaitDone(2000));
    for (const std::string& line : server.Received()) {
        EXPECT_EQ(line.find("DELE"), std::string::npos) << line;
        EXPECT_EQ(line.find("RMD"), std::string::npos) << line;
    }
    EXPECT_TRUE(ui.HasText("The command 'DELE a  DELE important' holds a line break and was not sent."));
}

TEST_F(Reply, RefusedStoreBringsTheChannelBackInStep)
{
    tarvo::test::TempDir dir;
    tarvo::test::WriteFileBytes(dir.file("up"), "data");
    Greet(server).Expect("TYPE I").Send("200 binary\r\n").Expect("PORT").Send("200 port ok\r\n")
        .Expect("STOR secret").Send("553 Not allowed\r\n")
        .Expect("NOOP").Send("450 still busy\r\n200 ok\r\n").Expect("PWD").Send("257 \"/a\"\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.PutFile(dir.file("up"), "secret", 0, 0), 0);
    EXPECT_TRUE(ui.HasText("553 Not allowed"));
    std::string cwd;
    EXPECT_EQ(connection.GetCurrentFtpDirectory(cwd), 1);
    EXPECT_EQ(cwd, "/a");
}

TEST_F(Reply, ListingWithoutPreliminaryReplyComesFromTheControlPeer)
{
    // No 150 before the data, so no reply is due after it. In passive mode the reply names
    // 127.0.0.2, where nothing listens (and an address off this machine must never be tried):
    // only the control peer gives the listing.
    Greet(server);
    for (bool passive : {false, true}) {
        passive ? server.Expect("PASV").SendPasv("127,0,0,2") : server.Expect("PORT").Send("200 ok\r\n");
        server.Expect("LIST").DataSend("-rw-r--r-- 1 a b 5 Jan 1 2020 one\r\n").Send("226 done\r\n");
    }
    server.Expect("PWD").Send("257 \"/\"\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    for (bool passive : {false, true}) {
        connection.SetPassive(passive);
        ASSERT_EQ(connection.GetDir(""), 1) << ui.Last();
        _Qor_Ftp_FileData rec;
        ASSERT_EQ(connection.GetNextFile(rec, 1), 1);
        EXPECT_EQ(rec.Name, "one");
        EXPECT_EQ(connection.GetNextFile(rec, 1), 0);
    }
    std::string cwd;
    EXPECT_EQ(connection.GetCurrentFtpDirectory(cwd), 1);
}

// After a transfer's data the final reply and the user's cancel decide together: a failure
// reply (426, 451) fails it, and so does a cancel the user confirmed, even when the server
// then reports success.
struct AfterDataCase {
    const char* name;
    bool upload;
    const char* finalReply;
    bool cancel;
    int result;
};
void PrintTo(const AfterDataCase& c, std::ostream* out) { *out << c.name; }

class AfterData : public Reply, public ::testing::WithParamInterface<AfterDataCase> {};

TEST_P(AfterData, FinalReplyAndCancelDecide)
{
    const AfterDataCase& c = GetParam();
    tarvo::test::TempDir dir;
    const std::string data = tarvo::test::RandomBytes(100'000, 3);
    tarvo::test::WriteFileBytes(dir.file("up"), data);
    Greet(server);
    if (!c.upload)
        server.Expect("PASV").SendPasv().Expect("LIST").Send("550 no listing\r\n");
    server.Expect("TYPE I").Send("200 ok\r\n").Expect("PASV").SendPasv();
    server.Expect(c.upload ? "STOR f" : "RETR f").Send("150 go\r\n");
    c.upload ? server.DataReceive() : server.DataSend(data);
    server.Send(c.finalReply).Expect("NOOP").Send("200 ok\r\n");
    server.Start();
    connection.SetPassive(1);
    // The window asks for the cancel as soon as it opens; the user answers Yes.
    ui.withWindow = c.cancel;
    ui.answer = true;
    ui.onProgress = [](QorFtpProgress& progress) { progress.RequestCancel(); };
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(c.upload ? connection.PutFile(dir.file("up"), "f", 0, 0) : connection.GetFile("f", dir.file("down"), 0, 0),
              c.result);
    EXPECT_EQ(ui.Questions().size(), c.cancel ? 1u : 0u);
    if (c.result) {
        EXPECT_EQ(c.upload ? server.DataReceived() : tarvo::test::ReadFileBytes(dir.file("down")), data);
    } else if (!c.cancel) {
        EXPECT_EQ(ui.Last() + "\r\n", c.finalReply);
    }
    // The size lookup's refusal is not worth a message box of its own.
    EXPECT_FALSE(ui.HasText("Dir command to 'f' failed.\n\n550 no listing"));
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Transfers, AfterData,
    ::testing::Values(AfterDataCase{"DownloadCompletes", false, "226 done\r\n", false, 1},
                      AfterDataCase{"UploadCompletes", true, "226 done\r\n", false, 1},
                      AfterDataCase{"DownloadThen451", false, "451 Local error: disk failed\r\n", false, 0},
                      AfterDataCase{"UploadThen426", true, "426 Connection closed; transfer aborted\r\n", false, 0},
                      AfterDataCase{"UploadThen451", true, "451 Local error: disk full\r\n", false, 0},
                      AfterDataCase{"DownloadCancelledThen226", false, "226 done\r\n", true, 0},
                      AfterDataCase{"UploadCancelledThen226", true, "226 done\r\n", true, 0}));

TEST_F(Reply, RawCommandsAndLineEnds)
{
    Greet(server).Expect("SITE HELP").Send("214 help\r\n").Expect("NOOP").Send("200 ok\r\n")
        .Expect("SYST").Expect("NOOP").Send("215 UNIX\r\n200 ok\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.SendRaw("SITE HELP", 1), 1);
    EXPECT_EQ(connection.SendRaw("NOOP\r\n", 1), 1);
    EXPECT_EQ(connection.SendRaw("SYST", 0), 1);
    // The caller owns the reply that SendRaw did not wait for.
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
    EXPECT_EQ(connection.SendRaw("", 1), 0);
    EXPECT_TRUE(ui.HasText("No command to send"));
    ASSERT_TRUE(server.WaitDone(2000));
    EXPECT_TRUE(server.Mismatches().empty());
}

TEST_F(Reply, SocketHandOver)
{
    Greet(server).Expect("PWD").Send("257 \"/home/ann\"\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    int handle = -1;
    ASSERT_EQ(connection.GetSocketHandle(handle), 1);
    EXPECT_GE(handle, 0);
    int again = 0;
    EXPECT_EQ(connection.GetSocketHandle(again), 0);
    EXPECT_EQ(again, -1);
    EXPECT_TRUE(ui.HasText("No Socket Handle"));
    EXPECT_EQ(connection.GetSocket(), nullptr);

    // The user-interface thread takes the handle over and goes on where the worker stopped.
    std::string dir;
    std::thread other([&] {
        EXPECT_EQ(connection.AttachSocket(handle), 1);
        EXPECT_EQ(connection.GetCurrentFtpDirectory(dir), 1);
        EXPECT_EQ(connection.AttachSocket(handle), 0);
    });
    other.join();
    EXPECT_EQ(dir, "/home/ann");
    EXPECT_TRUE(ui.HasText("Already attached Socket Handle"));
}

// A cancel ends the call that waits on a silent server, whether it came during the wait or
// before the call started (it is kept until a wait takes it); ClearCancel drops it.
struct CancelCase {
    const char* name;
    bool listing; // else a login to a server that never greets
    bool before;  // else 300 ms into the call, from another thread
    bool cleared;
};
void PrintTo(const CancelCase& c, std::ostream* out) { *out << c.name; }

class Cancel : public Reply, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(Cancel, EndsTheWaitingCall)
{
    const CancelCase& c = GetParam();
    if (c.listing) {
        // LIST is accepted, but the data connection only comes when the cancel was cleared.
        Greet(server).Expect("PORT").Send("200 ok\r\n").Expect("LIST").Send("150 soon\r\n");
        c.cleared ? server.DataSend("-rw-r--r-- 1 a b 5 Jan 1 2020 one\r\n").Send("226 done\r\n") : server.Hang();
    } else {
        server.Hang();
    }
    server.Start();
    connection.SetTimeout(30);
    if (c.listing) {
        ASSERT_EQ(Login(), 1);
    }
    std::thread canceller;
    if (c.before) {
        connection.CancelOperation();
        if (c.cleared)
            connection.ClearCancel();
    } else {
        canceller = std::thread([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            connection.CancelOperation();
        });
    }
    const auto start = std::chrono::steady_clock::now();
    const int result = c.listing ? connection.GetDir("") : Login();
    if (canceller.joinable())
        canceller.join();
    // A fault check, not a benchmark: far below the time-out, so the cancel ended the call.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    if (c.cleared) {
        EXPECT_EQ(result, 1);
        EXPECT_TRUE(ui.Messages().empty()) << ui.Last();
        return;
    }
    EXPECT_EQ(result, c.listing ? -1 : 0);
    EXPECT_TRUE(ui.HasText("Blocking call cancelled.")) << ui.Last();
    EXPECT_EQ(connection.GetSocket(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Waits, Cancel,
                         ::testing::Values(CancelCase{"LoginBeforeItStarts", false, true, false},
                                           CancelCase{"LoginWaitingForTheGreeting", false, false, false},
                                           CancelCase{"ListingBeforeItStarts", true, true, false},
                                           CancelCase{"ListingWaitingForItsData", true, false, false},
                                           CancelCase{"ClearedBeforeAListing", true, true, true}));

TEST(ReplyFromTo, CommandOrderBetweenTwoServers)
{
    ScriptedServer source, destination;
    RecordingUi ui;
    source.Send("220 src\r\n").Expect("USER").Send("331 p\r\n").Expect("PASS").Send("230 ok\r\n")
        .Expect("TYPE I").Send("200 ok\r\n").Expect("PASV").Send("227 Entering Passive Mode (127,0,0,1,4,1)\r\n")
        .Expect("RETR from.bin").Send("150 sending\r\n").Wait(100).Send("226 sent\r\n");
    destination.Send("220 dst\r\n").Expect("USER").Send("331 p\r\n").Expect("PASS").Send("230 ok\r\n")
        .Expect("TYPE I").Send("200 ok\r\n").Expect("PORT 127,0,0,1,4,1").Send("200 ok\r\n")
        .Expect("APPE to.bin").Send("150 receiving\r\n").Wait(50).Send("226 stored\r\n");
    source.Start();
    destination.Start();
    QorFtpConnection from, to;
    from.SetUi(&ui);
    to.SetUi(&ui);
    ASSERT_EQ(from.Login("127.0.0.1", "a", "b", source.port(), ""), 1);
    ASSERT_EQ(to.Login("127.0.0.1", "a", "b", destination.port(), ""), 1);
    EXPECT_EQ(from.FromTo(to.GetSocket(), "from.bin", "to.bin", 1), 1);
    EXPECT_TRUE(source.WaitDone(2000));
    EXPECT_TRUE(destination.WaitDone(2000));
    EXPECT_TRUE(source.Mismatches().empty());
    EXPECT_TRUE(destination.Mismatches().empty());
    EXPECT_TRUE(ui.Messages().empty());
}

} // namespace
