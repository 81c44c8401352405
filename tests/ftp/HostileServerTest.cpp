// Servers that misbehave on purpose: each may cost the user at most the time-out and a clear
// message, never a reply taken for what it is not.
#include "QorFtp.h"
#include "RecordingUi.h"
#include "ScriptedServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <poll.h>
#include <string>

using tarvo::test::RecordingUi;
using tarvo::test::ScriptedServer;

namespace {

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

    ScriptedServer server;
    RecordingUi ui;
    QorFtpConnection connection;
};

// A hostile greeting, followed by an ordinary login that must not be reached when the greeting
// was a failure.
struct GreetingCase {
    const char* name;
    void (*greet)(ScriptedServer&);
    int timeoutSeconds;
    const char* message; // null: the login succeeds
};
void PrintTo(const GreetingCase& c, std::ostream* out) { *out << c.name; }

class Greeting : public Hostile, public ::testing::WithParamInterface<GreetingCase> {};

TEST_P(Greeting, CostsAtMostTheTimeOut)
{
    const GreetingCase& c = GetParam();
    c.greet(server);
    LogIn(server);
    server.Start();
    connection.SetTimeout(c.timeoutSeconds);
    const auto start = std::chrono::steady_clock::now();
    const int result = Login();
    // A fault check, not a benchmark: well within what the script would take to play out.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    if (!c.message) {
        EXPECT_EQ(result, 1) << ui.Last();
        EXPECT_TRUE(ui.Messages().empty()) << ui.Last();
        return;
    }
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(ui.HasText(c.message)) << ui.Last();
    EXPECT_EQ(connection.GetError(), 421u);
    EXPECT_EQ(connection.GetSocket(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, Greeting,
    ::testing::Values(
        GreetingCase{"OverlongLine",
                     [](ScriptedServer& s) { s.Send("220 " + std::string(100'000, 'a') + "\r\n"); }, 5,
                     "The server sent a reply line longer than 4096 bytes; the connection was closed."},
        GreetingCase{"EndlessFlood",
                     [](ScriptedServer& s) {
                         std::string flood;
                         for (int i = 0; i < 200'000; ++i)
                             flood += "220-and more\r\n";
                         s.Send(flood);
                     },
                     30, "The server sent a reply longer than 1 MiB; the connection was closed."},
        GreetingCase{"OneLineEveryHalfSecond",
                     [](ScriptedServer& s) {
                         for (int i = 0; i < 30; ++i)
                             s.Send("220-still here\r\n").Wait(500);
                         s.Send("220 ready\r\n");
                     },
                     2, "Connection timed out."},
        GreetingCase{"OneByteEvery300ms",
                     [](ScriptedServer& s) {
                         for (char c : std::string("220 ready\r\n"))
                             s.Send(std::string(1, c)).Wait(300);
                     },
                     1, "Connection timed out."},
        // 4294968 s in milliseconds wraps round to 704 ms in an int.
        GreetingCase{"TimeOutPastAnInt", [](ScriptedServer& s) { s.Wait(1500).Send("220 late\r\n"); }, 4294968,
                     nullptr}));

// The reply after a listing's data decides whether it is whole, as after a transfer.
struct ListingEndCase {
    const char* name;
    const char* finalReply; // null: the server closes instead
    int result;
    const char* message;    // null: none
};
void PrintTo(const ListingEndCase& c, std::ostream* out) { *out << c.name; }

class ListingEnd : public Hostile, public ::testing::WithParamInterface<ListingEndCase> {};

TEST_P(ListingEnd, FailureReplyAfterTheDataFailsTheListing)
{
    const ListingEndCase& c = GetParam();
    LogIn(server.Send("220 hi\r\n")).Expect("PORT").Send("200 ok\r\n").Expect("LIST").Send("150 here\r\n")
        .DataSend("-rw-r--r-- 1 a b 5 Jan 1 2020 one\r\n-rw-r--r-- 1 a b 5 Jan 1 2020 two\r\n");
    c.finalReply ? server.Send(c.finalReply) : server.Close();
    server.Start();
    ASSERT_EQ(Login(), 1);
    EXPECT_EQ(connection.GetDir(""), c.result);
    if (c.message)
        EXPECT_EQ(ui.Texts(), std::vector<std::string>{c.message});
    else
        EXPECT_TRUE(ui.Messages().empty()) << ui.Last();
}

INSTANTIATE_TEST_SUITE_P(
    Listings, ListingEnd,
    ::testing::Values(ListingEndCase{"Complete", "226 done\r\n", 2, nullptr},
                      ListingEndCase{"Aborted", "426 Connection closed; transfer aborted.\r\n", -1,
                                     "426 Connection closed; transfer aborted."},
                      ListingEndCase{"LocalError", "451 Read error\r\n", -1, "451 Read error"},
                      ListingEndCase{"ServerCloses", nullptr, -1, "Connection closed by the server."}));

// Anyone may connect to the port a PORT command announced: only the server's own address gives
// the listing, and a stranger alone ends the listing at the time-out.
class ActiveData : public Hostile, public ::testing::WithParamInterface<bool> {};

TEST_P(ActiveData, StrangersAreTurnedAway)
{
    const bool serverFollows = GetParam();
    LogIn(server.Send("220 hi\r\n")).Expect("PORT").Send("200 ok\r\n").Expect("LIST").Send("150 here\r\n")
        .DataSendFrom("127.0.0.2", "-rw-r--r-- 1 a b 5 Jan 1 2020 planted\r\n");
    if (serverFollows)
        server.DataSend("-rw-r--r-- 1 a b 5 Jan 1 2020 real\r\n");
    server.Send("226 done\r\n");
    server.Start();
    connection.SetTimeout(2);
    ASSERT_EQ(Login(), 1);
    const auto start = std::chrono::steady_clock::now();
    const int result = connection.GetDir("");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    if (!serverFollows) {
        EXPECT_EQ(result, -1);
        EXPECT_TRUE(ui.HasText("Connection timed out.")) << ui.Last();
        return;
    }
    ASSERT_EQ(result, 1) << ui.Last();
    _Qor_Ftp_FileData rec;
    ASSERT_EQ(connection.GetNextFile(rec, 1), 1);
    EXPECT_EQ(rec.Name, "real");
}

INSTANTIATE_TEST_SUITE_P(Listings, ActiveData, ::testing::Bool());

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

} // namespace
