// Servers that misbehave on purpose: each may cost the user at most the time-out and a clear
// message, never a reply taken for what it is not.
#include "QorFtp.h"
#include "RecordingUi.h"
#include "ScriptedServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <malloc.h>
#include <poll.h>
#include <string>

using tarvo::test::RecordingUi;
using tarvo::test::ScriptedServer;

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

class Hostile : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.SetUi(&ui);
        connection.SetTimeout(5);
    }

    static ScriptedServer& LogIn(ScriptedServer& server)
    {
        return server.Expect("USER ann").Send("331 password\r\n").Expect("PASS pw").Send("230 in\r\n");
    }

    int Login() { return connection.Login("127.0.0.1", "ann", "pw", server.port(), ""); }
    // The one message the user saw (null: none).
    void ExpectMessage(const char* text) const
    {
        EXPECT_EQ(ui.Texts(), text ? std::vector<std::string>{text} : std::vector<std::string>{});
    }

    ScriptedServer server;
    RecordingUi ui;
    QorFtpConnection connection;
};

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

class Greeting : public Hostile, public ::testing::WithParamInterface<GreetingCase> { };

TEST_P(Greeting, CostsAtMostTheTimeOut)
{
    const GreetingCase& c = GetParam();
    const std::size_t piece = c.piece ? c.piece : c.text.size();
    for (std::size_t at = 0; at < c.text.size(); at += piece)
        server.Wait(c.pauseMs).Send(c.text.substr(at, piece));
    LogIn(server).Start();
    connection.SetTimeout(c.timeoutSeconds);
    const auto start = std::chrono::steady_clock::now();
    const int result = Login();
    // A fault check, not a benchmark: well within what the script would take to play out.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(result, c.message ? 0 : 1) << ui.Last();
    if (!c.message)
        return ExpectMessage(nullptr);
    EXPECT_TRUE(ui.HasText(c.message)) << ui.Last();
    EXPECT_EQ(connection.GetError(), 421u);
    EXPECT_EQ(connection.GetSocket(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, Greeting,
    ::testing::Values(GreetingCase{"OverlongLine", "220 " + std::string(100'000, 'a') + "\r\n", 0, 0, 5,
                                   "The server sent a reply line longer than 4096 bytes; the connection was closed."},
                      GreetingCase{"EndlessFlood", Repeat("220-and more\r\n", 200'000), 0, 0, 30,
                                   "The server sent a reply longer than 1 MiB; the connection was closed."},
                      GreetingCase{"OneLineEveryHalfSecond", Repeat("220-still here\r\n", 30) + "220 ready\r\n", 16,
                                   500, 2, "Connection timed out."},
                      GreetingCase{"OneByteEvery300ms", "220 ready\r\n", 1, 300, 1, "Connection timed out."},
                      // 4294968 s in milliseconds wraps round to 704 ms in an int.
                      GreetingCase{"TimeOutPastAnInt", "220 late\r\n", 0, 1500, 4294968, nullptr}));

TEST_F(Hostile, PendingCancelEndsACallWhoseReplyIsAlreadyThere)
{
    LogIn(server.Send("220 hi\r\n")).Expect("NOOP").Send("200 ok\r\n");
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

class Listing : public Hostile, public ::testing::WithParamInterface<ListingCase> { };

TEST_P(Listing, IsWholeAndBounded)
{
    const ListingCase& c = GetParam();
    LogIn(server.Send("220 hi\r\n")).Expect("PORT").Send("200 ok\r\n").Expect("LIST").Send("150 here\r\n");
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
        ListingCase{"ShortestLines", false, Repeat("x\n", 4'000'000), "226 done\r\n", 10'000'000, 4'000'000, nullptr},
        ListingCase{"AtTheLimit", false, Repeat(kEntry, 3), "226 done\r\n", 3, 3, nullptr},
        ListingCase{"PastTheLimit", false, Repeat(kEntry, 4), "226 done\r\n", 3, -1,
                    "The listing has more than 3 lines and was not read."},
        ListingCase{"StrangerFirst", true, Repeat(kEntry, 2), "226 done\r\n", 10, 2, nullptr},
        ListingCase{"StrangerOnly", true, "", "226 done\r\n", 10, -1, "Connection timed out."}));

// When the listing gave the size, a download that ends short fails however the server ends it,
// and the part that came stays for a resumed download.
struct DownloadCase {
    const char* name;
    std::uint64_t offset; // bytes already here
    std::size_t sent; // of the 100 bytes listed
    int result;
    friend void PrintTo(const DownloadCase& c, std::ostream* out) { *out << c.name; }
};

class Download : public Hostile, public ::testing::WithParamInterface<DownloadCase> { };

TEST_P(Download, ShortOfTheListedSizeFails)
{
    const DownloadCase& c = GetParam();
    tarvo::test::TempDir dir;
    const std::string file = tarvo::test::RandomBytes(100, 9);
    tarvo::test::WriteFileBytes(dir.file("f"), file.substr(0, c.offset));
    LogIn(server.Send("220 hi\r\n"))
        .Expect("PORT")
        .Send("200 ok\r\n")
        .Expect("LIST f")
        .Send("150 here\r\n")
        .DataSend(kEntry)
        .Send("226 done\r\n")
        .Expect("TYPE I")
        .Send("200 ok\r\n")
        .Expect("PORT")
        .Send("200 ok\r\n");
    if (c.offset)
        server.Expect("REST").Send("350 ok\r\n");
    server.Expect("RETR f").Send("150 here\r\n").DataSend(file.substr(c.offset, c.sent)).Send("226 done\r\n");
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.GetFile("f", dir.file("f"), c.offset, 0), c.result);
    const std::string kept = tarvo::test::ReadFileBytes(dir.file("f"));
    EXPECT_EQ(kept, file.substr(0, c.offset + c.sent));
    const std::string shortText
        = "The download ended after " + std::to_string(kept.size()) + " of the file's 100 bytes.";
    ExpectMessage(c.result ? nullptr : shortText.c_str());
}

INSTANTIATE_TEST_SUITE_P(Transfers, Download,
                         ::testing::Values(DownloadCase{"Whole", 0, 100, 1}, DownloadCase{"Short", 0, 60, 0},
                                           DownloadCase{"ResumedWhole", 40, 60, 1},
                                           DownloadCase{"ResumedShort", 40, 30, 0}));

} // namespace
