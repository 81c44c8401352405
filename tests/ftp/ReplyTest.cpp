// Exact reply sequences from a scripted server: greetings, multi-line replies, refusals, a
// server that closes or never answers, listings and transfers and the reply after their data,
// cancels, and the faults the library guards against. A server that misbehaves on purpose may
// cost the user at most the time-out and a clear message, never a reply taken for what it is not.
#include "QorFtp.h"
#include "RecordingUi.h"
#include "ScriptedServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <malloc.h>
#include <poll.h>
#include <string>
#include <thread>

using namespace tarvo::test;

namespace {

std::string Repeat(const std::string& text, int times)
{
    std::string all;
    for (int i = 0; i < times; ++i)
        all += text;
    return all;
}

long long HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long long>(info.uordblks + info.hblkhd);
}

class Reply : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.SetUi(&ui);
        connection.SetTimeout(5);
    }

    // A multi-line greeting, read whole before USER goes out, and a plain login.
    ScriptedServer& Greet() { return server.Send("220-Welcome\r\n220-second line\r\n220 ready\r\n").LogIn(); }
    int Login() { return connection.Login("127.0.0.1", "ann", "pw", server.port(), "acct"); }
    // The one message the user saw (null: none).
    void ExpectMessage(const char* text) const
    {
        EXPECT_EQ(ui.Texts(), text ? std::vector<std::string>{text} : std::vector<std::string>{});
    }

    ScriptedServer server;
    RecordingUi ui;
    QorFtpConnection connection;
};

// PASS goes out after a 230 to USER too, and ACCT after a 332; a second login is refused, and
// Close says goodbye, or nothing at all without a login. FEAT follows the login, and the facts
// and UTF-8 it offers are asked for. The trace has it all, but the secrets.
TEST_F(Reply, LoginSequenceAndClose)
{
    QorFtpConnection fresh;
    fresh.SetUi(&ui);
    fresh.Close();
    EXPECT_TRUE(ui.Messages().empty());

    server.Send("220 hi\r\n")
        .Expect("USER")
        .Send("230 no password needed\r\n")
        .Expect("PASS pw")
        .Send("332 need account\r\n")
        .Expect("ACCT acct")
        .Send("230 ok\r\n")
        .Expect("FEAT")
        .Send("211-Features:\r\n UTF8\r\n MLST type*;size*;modify*;UNIX.mode;unique;\r\n211 End\r\n")
        .Expect("OPTS MLST type;size;modify;UNIX.mode;")
        .Send("200 ok\r\n")
        .Expect("OPTS UTF8 ON")
        .Send("200 ok\r\n")
        .Expect("QUIT")
        .Send("221 bye\r\n");
    server.Start();
    ui.tracing = true;
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(Login(), 0);
    EXPECT_TRUE(ui.HasText("Already Connected."));
    connection.Close();
    ASSERT_TRUE(server.WaitDone(2000));
    EXPECT_TRUE(server.Mismatches().empty());
    EXPECT_EQ(ui.Traced(),
              (std::vector<std::string>{"< 220 hi", "> USER ann", "< 230 no password needed", "> PASS ********",
                                        "< 332 need account", "> ACCT ********", "< 230 ok", "> FEAT",
                                        "< 211-Features:", "<  UTF8", "<  MLST type*;size*;modify*;UNIX.mode;unique;",
                                        "< 211 End", "> OPTS MLST type;size;modify;UNIX.mode;", "< 200 ok",
                                        "> OPTS UTF8 ON", "< 200 ok", "> QUIT", "< 221 bye"}));
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
void PrintTo(const CommandCase& c, std::ostream* out)
{
    *out << c.name;
}

class CommandReply : public Reply, public ::testing::WithParamInterface<CommandCase> { };

TEST_P(CommandReply, DecidesTheResultAndKeepsTheChannelInStep)
{
    const CommandCase& c = GetParam();
    Greet().Expect("RMD full").Send(c.reply).Expect("NOOP").Send("200 ok\r\n");
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
    ::testing::Values(CommandCase{"Code400IsAnAcceptance", "400 odd but fine\r\n", 1, nullptr},
                      CommandCase{"Code401IsARefusal", "401 no\r\n", 0, "401 no"},
                      CommandCase{"UnnumberedLineIsTheText",
                                  "550-Cannot remove\r\n  the folder is not empty\r\n  see the manual\r\n550 End\r\n",
                                  0, "  see the manual"},
                      CommandCase{"InnerRefusalLine", "250-Removed\r\n550 inner line\r\n250 done\r\n", 1, nullptr},
                      CommandCase{"InnerAcceptanceLine", "550-Refused\r\n250 inner line\r\n550 End\r\n", 0,
                                  "550 End"}));

TEST_F(Reply, RefusedStoreBringsTheChannelBackInStep)
{
    TempDir dir;
    WriteFileBytes(dir.file("up"), "data");
    Greet()
        .Expect("TYPE I")
        .Send("200 binary\r\n")
        .Expect("PORT")
        .Send("200 port ok\r\n")
        .Expect("STOR secret")
        .Send("553 Not allowed\r\n")
        .Expect("NOOP")
        .Send("450 still busy\r\n200 ok\r\n")
        .Expect("PWD")
        .Send("257 \"/a\"\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.PutFile(dir.file("up"), "secret", 0, 0), 0);
    EXPECT_TRUE(ui.HasText("553 Not allowed"));
    std::string cwd;
    EXPECT_EQ(connection.GetCurrentFtpDirectory(cwd), 1);
    EXPECT_EQ(cwd, "/a");
}

// TYPE I goes out once a session, so many small files cost no round trip each for it; after a
// raw command, which may have changed the type, it goes out again.
TEST_F(Reply, BinaryTypeIsSetOncePerSession)
{
    TempDir dir;
    WriteFileBytes(dir.file("up"), "data");
    Greet().Expect("TYPE I").Send("200 binary\r\n");
    for (const char* name : {"a", "b", "c"}) {
        if (*name == 'c')
            server.Expect("TYPE A").Send("200 ascii\r\n").Expect("TYPE I").Send("200 binary\r\n");
        server.Expect("PORT").Send("200 ok\r\n").Expect(std::string("STOR ") + name).Send("150 go\r\n");
        server.DataReceive().Send("226 done\r\n");
    }
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.PutFile(dir.file("up"), "a", 0, 0), 1);
    EXPECT_EQ(connection.PutFile(dir.file("up"), "b", 0, 0), 1);
    EXPECT_EQ(connection.SendRaw("TYPE A", 1), 1);
    EXPECT_EQ(connection.PutFile(dir.file("up"), "c", 0, 0), 1);
    EXPECT_TRUE(server.WaitDone(5000));
    EXPECT_EQ(server.Mismatches(), std::vector<std::string>{});
    EXPECT_EQ(server.DataReceived(), "datadatadata");
}

TEST_F(Reply, ListingWithoutPreliminaryReplyComesFromTheControlPeer)
{
    // No 150 before the data, so no reply is due after it. In passive mode the reply names
    // 127.0.0.2, where nothing listens (and an address off this machine must never be tried):
    // only the control peer gives the listing.
    Greet();
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

// SendRaw's line ends and the reply it leaves to the caller; a line break inside an argument
// is never sent.
TEST_F(Reply, RawCommandsAndLineBreaks)
{
    Greet()
        .Expect("SITE HELP")
        .Send("214 help\r\n")
        .Expect("NOOP")
        .Send("200 ok\r\n")
        .Expect("SYST")
        .Expect("NOOP")
        .Send("215 UNIX\r\n200 ok\r\n")
        .Expect("NOOP")
        .Send("200 ok\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.SendRaw("SITE HELP", 1), 1);
    EXPECT_EQ(connection.SendRaw("NOOP\r\n", 1), 1);
    EXPECT_EQ(connection.SendRaw("SYST", 0), 1);
    // The caller owns the reply that SendRaw did not wait for.
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
    EXPECT_EQ(connection.SendRaw("", 1), 0);
    EXPECT_EQ(connection.DeleteFileA("a\r\nDELE important"), 0);
    EXPECT_EQ(connection.Rename("ok", "b\nRMD /"), 0);
    EXPECT_EQ(connection.SendRaw("NOOP\r\nDELE x\r\n", 1), 0);
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
    ASSERT_TRUE(server.WaitDone(2000));
    EXPECT_TRUE(server.Mismatches().empty());
    for (const std::string& line : server.Received()) {
        EXPECT_EQ(line.find("DELE"), std::string::npos) << line;
        EXPECT_EQ(line.find("RMD"), std::string::npos) << line;
    }
    EXPECT_TRUE(ui.HasText("No command to send"));
    EXPECT_TRUE(ui.HasText("The command 'DELE a  DELE important' holds a line break and was not sent."));
}

TEST_F(Reply, SocketHandOver)
{
    Greet().Expect("PWD").Send("257 \"/home/ann\"\r\n");
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
    bool before; // else 300 ms into the call, from another thread
    bool cleared;
};
void PrintTo(const CancelCase& c, std::ostream* out)
{
    *out << c.name;
}

class Cancel : public Reply, public ::testing::WithParamInterface<CancelCase> { };

TEST_P(Cancel, EndsTheWaitingCall)
{
    const CancelCase& c = GetParam();
    if (c.listing) {
        // LIST is accepted, but the data connection only comes when the cancel was cleared.
        Greet().Expect("PORT").Send("200 ok\r\n").Expect("LIST").Send("150 soon\r\n");
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

// A hostile greeting, sent in pieces of `piece` bytes (0: at once) each after `pauseMs`, then
// an ordinary login that must not be reached when the greeting was a failure.
struct GreetingCase {
    const char* name;
    std::string text;
    std::size_t piece;
    int pauseMs;
    int timeoutSeconds;
    const char* message; // null: the login succeeds
    friend void PrintTo(const GreetingCase& c, std::ostream* out) { *out << c.name; }
};

class Greeting : public Reply, public ::testing::WithParamInterface<GreetingCase> { };

TEST_P(Greeting, CostsAtMostTheTimeOut)
{
    const GreetingCase& c = GetParam();
    const std::size_t piece = c.piece ? c.piece : c.text.size();
    for (std::size_t at = 0; at < c.text.size(); at += piece)
        server.Wait(c.pauseMs).Send(c.text.substr(at, piece));
    server.LogIn().Start();
    connection.SetTimeout(c.timeoutSeconds);
    const auto start = std::chrono::steady_clock::now();
    const int result = Login();
    // A fault check, not a benchmark: well within what the script would take to play out.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(result, c.message ? 0 : 1) << ui.Last();
    if (!c.message)
        return ExpectMessage(nullptr);
    // One message: a line cut short by the time-out is no reply of its own.
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{c.message});
    EXPECT_EQ(connection.GetError(), 421u);
    EXPECT_EQ(connection.GetSocket(), nullptr);
    EXPECT_TRUE(server.Received().empty()) << "the login went on after a failed greeting";
}

INSTANTIATE_TEST_SUITE_P(
    Replies, Greeting,
    ::testing::Values(GreetingCase{"Refused421", "421 Too many users\r\n", 0, 0, 5,
                                   "Login to '127.0.0.1' failed.\n\n421 Too many users"},
                      GreetingCase{"OverlongLine", "220 " + std::string(100'000, 'a') + "\r\n", 0, 0, 5,
                                   "The server sent a reply line longer than 4096 bytes; the connection was closed."},
                      GreetingCase{"EndlessFlood", Repeat("220-and more\r\n", 200'000), 0, 0, 30,
                                   "The server sent a reply longer than 1 MiB; the connection was closed."},
                      GreetingCase{"OneLineEveryHalfSecond", Repeat("220-still here\r\n", 30) + "220 ready\r\n", 16,
                                   500, 2, "Connection timed out."},
                      GreetingCase{"OneByteEvery300ms", "220 ready\r\n", 1, 300, 1, "Connection timed out."},
                      // 4294968 s in milliseconds wraps round to 704 ms in an int.
                      GreetingCase{"TimeOutPastAnInt", "220 late\r\n", 0, 1500, 4294968, nullptr}));

TEST_F(Reply, PendingCancelEndsACallWhoseReplyIsAlreadyThere)
{
    Greet().Expect("NOOP").Send("200 ok\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    ASSERT_EQ(connection.SendRaw("NOOP", 0), 1);
    pollfd ready{connection.GetSocket()->Handle(), POLLIN, 0};
    ASSERT_EQ(poll(&ready, 1, 5000), 1);
    // As a cancel pressed while a flood keeps the socket readable: no wait ever blocks.
    connection.CancelOperation();
    EXPECT_EQ(connection.SendRaw("SYST", 1), 0);
    EXPECT_TRUE(ui.HasText("Blocking call cancelled.")) << ui.Last();
    EXPECT_EQ(connection.GetSocket(), nullptr);
}

const std::string kEntry = "-rw-r--r-- 1 a b 100 Jan 1 2020 f\r\n";

// A listing is whole only when the reply after its data says so, as with a transfer; it holds no
// blank lines, little more memory than its bytes even for the shortest lines, and no more lines
// than the limit. Anyone may connect to the port a PORT command announced: only the server's own
// address gives the listing, and a stranger alone ends it at the time-out.
struct ListingCase {
    const char* name;
    bool stranger; // a planted listing from 127.0.0.2 comes first
    std::string data; // empty: the server sends none
    const char* finalReply; // null: the server closes instead
    int limit;
    int result;
    const char* message; // null: none
    friend void PrintTo(const ListingCase& c, std::ostream* out) { *out << c.name; }
};

class Listing : public Reply, public ::testing::WithParamInterface<ListingCase> { };

TEST_P(Listing, IsWholeAndBounded)
{
    const ListingCase& c = GetParam();
    Greet().Expect("PORT").Send("200 ok\r\n").Expect("LIST").Send("150 here\r\n");
    if (c.stranger)
        server.DataSendFrom("127.0.0.2", "-rw-r--r-- 1 a b 5 Jan 1 2020 planted\r\n");
    if (!c.data.empty())
        server.DataSend(c.data);
    c.finalReply ? server.Send(c.finalReply).Expect("NOOP").Send("200 ok\r\n") : server.Close();
    server.Start();
    connection.SetListingLimit(c.limit);
    connection.SetTimeout(2);
    ASSERT_EQ(Login(), 1);
    const long long before = HeapInUse();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(connection.GetDir(""), c.result);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_LT(HeapInUse() - before, static_cast<long long>(3 * c.data.size() + 65536));
    ExpectMessage(c.message);
    EXPECT_EQ(connection.GetSocket() ? connection.SendRaw("NOOP", 1) : 1, 1) << "the channel is out of step";
    if (!c.finalReply) {
        // A server that closes ends the session, and the next call says so.
        EXPECT_EQ(connection.GetError(), 421u);
        EXPECT_EQ(connection.GetSocket(), nullptr);
        EXPECT_EQ(connection.MakeDirectory("y"), 0);
        EXPECT_EQ(ui.Last(), "Not Connected.");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Listings, Listing,
    ::testing::Values(
        ListingCase{"Complete", false, Repeat(kEntry, 2), "226 done\r\n", 10, 2, nullptr},
        ListingCase{"Aborted", false, Repeat(kEntry, 2), "426 Aborted.\r\n", 10, -1, "426 Aborted."},
        ListingCase{"LocalError", false, Repeat(kEntry, 2), "451 Read error\r\n", 10, -1, "451 Read error"},
        ListingCase{"ServerCloses", false, Repeat(kEntry, 2), nullptr, 10, -1, "Connection closed by the server."},
        ListingCase{"BlankLines", false, Repeat("\r\n", 500'000) + kEntry + Repeat(" \n", 1000) + kEntry,
                    "226 done\r\n", 10, 2, nullptr},
        ListingCase{"ShortestLines", false, Repeat("x\n", 4'000'000), "226 done\r\n", 10'000'000, 4'000'000,
                    "The listing has 4000000 line(s) in a form that could not be read; they are not shown."},
        // Said once for the listing, however many lines no format reads.
        ListingCase{"UnreadLines", false, kEntry + "garbage\r\n" + kEntry + "more garbage\r\n", "226 done\r\n", 10, 4,
                    "The listing has 2 line(s) in a form that could not be read; they are not shown."},
        ListingCase{"AtTheLimit", false, Repeat(kEntry, 3), "226 done\r\n", 3, 3, nullptr},
        ListingCase{"PastTheLimit", false, Repeat(kEntry, 4), "226 done\r\n", 3, -1,
                    "The listing has more than 3 lines and was not read."},
        ListingCase{"StrangerFirst", true, Repeat(kEntry, 2), "226 done\r\n", 10, 2, nullptr},
        ListingCase{"StrangerOnly", true, "", "226 done\r\n", 10, -1, "Connection timed out."}));

// After a transfer's data the final reply, the user's cancel and, for a download, the size the
// listing gave decide together: a failure reply (426, 451) fails it, and so does a cancel the
// user confirmed, or a download short of the listed size, even when the server then reports
// success. The part of a download that came stays for a resumed download.
struct TransferCase {
    const char* name;
    bool upload;
    bool listed; // the listing gives the download's size, 100 bytes; else it is refused
    std::uint64_t offset; // of a download: bytes already here
    std::size_t sent; // of a download: bytes the server sends
    const char* finalReply;
    bool cancel;
    int result;
    const char* message; // null: none
    friend void PrintTo(const TransferCase& c, std::ostream* out) { *out << c.name; }
};

class Transfer : public Reply, public ::testing::WithParamInterface<TransferCase> { };

TEST_P(Transfer, EndsAsTheReplyTheCancelAndTheSizeDecide)
{
    const TransferCase& c = GetParam();
    TempDir dir;
    const std::string file = RandomBytes(100, 9);
    WriteFileBytes(dir.file("f"), c.upload ? file : file.substr(0, c.offset));
    Greet();
    if (!c.upload) {
        server.Expect("PORT").Send("200 ok\r\n").Expect("LIST f");
        c.listed ? server.Send("150 here\r\n").DataSend(kEntry).Send("226 done\r\n")
                 : server.Send("550 no listing\r\n");
    }
    server.Expect("TYPE I").Send("200 ok\r\n").Expect("PORT").Send("200 ok\r\n");
    if (c.offset)
        server.Expect("REST").Send("350 ok\r\n");
    server.Expect(c.upload ? "STOR f" : "RETR f").Send("150 go\r\n");
    c.upload ? server.DataReceive() : server.DataSend(file.substr(c.offset, c.sent));
    server.Send(c.finalReply).Expect("NOOP").Send("200 ok\r\n");
    server.Start();
    // The window asks for the cancel as soon as it opens; the user answers Yes.
    ui.withWindow = c.cancel;
    ui.answer = true;
    ui.onProgress = [](QorFtpProgress& progress) { progress.RequestCancel(); };
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(c.upload ? connection.PutFile(dir.file("f"), "f", 0, 0)
                       : connection.GetFile("f", dir.file("f"), c.offset, 0),
              c.result);
    EXPECT_EQ(ui.Questions().size(), c.cancel ? 1u : 0u);
    if (!c.upload) {
        EXPECT_EQ(ReadFileBytes(dir.file("f")), file.substr(0, c.offset + c.sent));
    } else if (c.result) {
        EXPECT_EQ(server.DataReceived(), file);
    }
    // The size lookup's refusal is not worth a message box of its own.
    ExpectMessage(c.message);
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Transfers, Transfer,
    ::testing::Values(TransferCase{"DownloadWhole", false, true, 0, 100, "226 done\r\n", false, 1, nullptr},
                      TransferCase{"DownloadUnlisted", false, false, 0, 100, "226 done\r\n", false, 1, nullptr},
                      TransferCase{"UploadWhole", true, false, 0, 0, "226 done\r\n", false, 1, nullptr},
                      TransferCase{"DownloadThen451", false, false, 0, 100, "451 Local error: disk failed\r\n", false,
                                   0, "451 Local error: disk failed"},
                      TransferCase{"UploadThen426", true, false, 0, 0, "426 Connection closed; transfer aborted\r\n",
                                   false, 0, "426 Connection closed; transfer aborted"},
                      TransferCase{"UploadThen451", true, false, 0, 0, "451 Local error: disk full\r\n", false, 0,
                                   "451 Local error: disk full"},
                      TransferCase{"DownloadCancelledThen226", false, false, 0, 100, "226 done\r\n", true, 0, nullptr},
                      TransferCase{"UploadCancelledThen226", true, false, 0, 0, "226 done\r\n", true, 0, nullptr},
                      TransferCase{"DownloadShort", false, true, 0, 60, "226 done\r\n", false, 0,
                                   "The download ended after 60 of the file's 100 bytes."},
                      TransferCase{"ResumedWhole", false, true, 40, 60, "226 done\r\n", false, 1, nullptr},
                      TransferCase{"ResumedShort", false, true, 40, 30, "226 done\r\n", false, 0,
                                   "The download ended after 70 of the file's 100 bytes."}));

TEST_F(Reply, FromToCommandOrderBetweenTwoServers)
{
    ScriptedServer destination;
    server.Send("220 src\r\n")
        .LogIn()
        .Expect("TYPE I")
        .Send("200 ok\r\n")
        .Expect("PASV")
        .Send("227 Entering Passive Mode (127,0,0,1,4,1)\r\n")
        .Expect("RETR from.bin")
        .Send("150 sending\r\n")
        .Wait(100)
        .Send("226 sent\r\n");
    destination.Send("220 dst\r\n")
        .LogIn()
        .Expect("TYPE I")
        .Send("200 ok\r\n")
        .Expect("PORT 127,0,0,1,4,1")
        .Send("200 ok\r\n")
        .Expect("APPE to.bin")
        .Send("150 receiving\r\n")
        .Wait(50)
        .Send("226 stored\r\n");
    server.Start();
    destination.Start();
    QorFtpConnection to;
    to.SetUi(&ui);
    ASSERT_EQ(Login(), 1);
    ASSERT_EQ(to.Login("127.0.0.1", "a", "b", destination.port(), ""), 1);
    EXPECT_EQ(connection.FromTo(to.GetSocket(), "from.bin", "to.bin", 1), 1);
    for (ScriptedServer* end : {&server, &destination}) {
        EXPECT_TRUE(end->WaitDone(2000));
        EXPECT_TRUE(end->Mismatches().empty());
    }
    EXPECT_TRUE(ui.Messages().empty());
}

} // namespace
