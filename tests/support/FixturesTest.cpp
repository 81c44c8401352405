// Proves the fixtures: each real server greets and logs in, and takes everything it made with
// it (sessions, processes, folder, account); the scripted server reports what went against its
// script and never holds up a test.
#include "ChildProcess.h"
#include "Loopback.h"
#include "PyFtpd.h"
#include "ScriptedServer.h"
#include "TempDir.h"
#include "Vsftpd.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo::test {
namespace {

bool Exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// Every transfer test reads its files back through these helpers; here, only what no test
// would notice: the folder goes with everything in it, and a missing file is an error.
TEST(TempDirFixture, RemovesEverythingInIt)
{
    std::string path;
    {
        TempDir dir;
        path = dir.path();
        ASSERT_EQ(mkdir(dir.file("sub").c_str(), 0755), 0);
        WriteFileBytes(dir.file("sub/a.bin"), RandomBytes(1000, 7));
    }
    EXPECT_FALSE(Exists(path));
    EXPECT_THROW(ReadFileBytes(path + "/sub/a.bin"), std::runtime_error);
}

TEST(ServerFixtures, LogInAndLeaveNothingBehind)
{
    std::string whyNot;
    for (bool vsftpd : {false, true}) {
        if (vsftpd && !Vsftpd::Available(whyNot))
            GTEST_SKIP() << whyNot;
        SCOPED_TRACE(vsftpd ? "vsftpd" : "pyftpdlib");
        std::string root, user;
        int session = -1; // logged in while the server goes away: it must end with the server
        {
            std::unique_ptr<PyFtpd> py = vsftpd ? nullptr : std::make_unique<PyFtpd>();
            std::unique_ptr<Vsftpd> vs = vsftpd ? std::make_unique<Vsftpd>() : nullptr;
            root = vs ? vs->root() : py->root();
            user = vs ? vs->user() : PyFtpd::kUser;
            session = ConnectLoopback(vs ? vs->port() : py->port());
            ASSERT_GE(session, 0);
            EXPECT_EQ(ReceiveLine(session).substr(0, 4), "220 ");
            const std::string login = "USER " + user + "\r\nPASS " + (vs ? vs->password() : PyFtpd::kPassword) + "\r\n";
            ASSERT_EQ(send(session, login.data(), login.size(), MSG_NOSIGNAL), static_cast<ssize_t>(login.size()));
            EXPECT_EQ(ReceiveLine(session).substr(0, 4), "331 ");
            EXPECT_EQ(ReceiveLine(session).substr(0, 4), "230 ");
        }
        EXPECT_TRUE(WaitClosed(session, 2000));
        close(session);
        EXPECT_FALSE(Exists(root));
        EXPECT_TRUE(ChildrenOf(getpid()).empty());
        if (vsftpd) {
            EXPECT_EQ(getpwnam(user.c_str()), nullptr);
        }
    }
}

TEST(ScriptedServerFixture, RecordsMismatchAndHangDoesNotBlockDestruction)
{
    auto start = std::chrono::steady_clock::now();
    {
        ScriptedServer server;
        server.Send("220 scripted\r\n").Expect("USER").Hang().Start();
        int client = ConnectLoopback(server.port());
        ASSERT_GE(client, 0);
        EXPECT_EQ(ReceiveLine(client), "220 scripted");
        ASSERT_EQ(send(client, "PASS x\r\n", 8, MSG_NOSIGNAL), 8);
        EXPECT_TRUE(server.WaitDone(5000));
        EXPECT_EQ(server.Received(), std::vector<std::string>{"PASS x"});
        EXPECT_EQ(server.Mismatches().size(), 1u);
        EXPECT_FALSE(WaitClosed(client, 200));
        close(client);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

} // namespace
} // namespace tarvo::test
