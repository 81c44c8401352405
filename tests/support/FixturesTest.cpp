// Proves the fixtures: each server starts, talks FTP, and leaves nothing behind.
#include "Loopback.h"
#include "PyFtpd.h"
#include "RawFtpConnection.h"
#include "ScriptedServer.h"
#include "TempDir.h"
#include "Vsftpd.h"

#include <arpa/inet.h>
#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo::test {
namespace {

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

void Login(RawFtpConnection& c, const std::string& user, const std::string& password) {
  ASSERT_EQ(ReplyCode(c.ReadReply()), 220);
  ASSERT_EQ(ReplyCode(c.Command("USER " + user)), 331);
  ASSERT_EQ(ReplyCode(c.Command("PASS " + password)), 230);
}

// STOR over PASV; returns the last reply code.
int Store(RawFtpConnection& c, const std::string& name, const std::string& data) {
  EXPECT_EQ(ReplyCode(c.Command("TYPE I")), 200);
  int fd = ConnectLoopback(c.EnterPassive(), 5000);
  EXPECT_GE(fd, 0);
  int code = ReplyCode(c.Command("STOR " + name));
  if (code == 150 || code == 125) {
    SendAllBytes(fd, data);
    close(fd);
    fd = -1;
    code = ReplyCode(c.ReadReply());
  }
  if (fd >= 0) close(fd);
  return code;
}

TEST(TempDirFixture, RoundTripAndRemoval) {
  std::string path;
  {
    TempDir dir;
    path = dir.path();
    ASSERT_EQ(mkdir(dir.file("sub").c_str(), 0755), 0);
    WriteFileBytes(dir.file("sub/a.bin"), RandomBytes(1000, 7));
    EXPECT_EQ(ReadFileBytes(dir.file("sub/a.bin")), RandomBytes(1000, 7));
    EXPECT_NE(RandomBytes(1000, 7), RandomBytes(1000, 8));
  }
  EXPECT_FALSE(Exists(path));
  EXPECT_THROW(ReadFileBytes(path + "/sub/a.bin"), std::runtime_error);
}

TEST(PyFtpdFixture, UserWritesAnonymousReadsAndAllStops) {
  unsigned port;
  std::string root;
  std::unique_ptr<RawFtpConnection> lingering;  // open while the server goes away
  {
    PyFtpd server;
    port = server.port();
    root = server.root();
    lingering = std::make_unique<RawFtpConnection>(port);
    RawFtpConnection& user = *lingering;
    Login(user, PyFtpd::kUser, PyFtpd::kPassword);
    const std::string data = RandomBytes(100000, 1);
    EXPECT_EQ(Store(user, "up.bin", data), 226);
    EXPECT_EQ(ReadFileBytes(root + "/up.bin"), data);
    EXPECT_EQ(ReplyCode(user.Command("SITE CHMOD 600 up.bin")), 200);
    struct stat info {};
    ASSERT_EQ(stat((root + "/up.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    RawFtpConnection anonymous(port);
    Login(anonymous, "anonymous", "test@example.org");
    EXPECT_EQ(Store(anonymous, "no.bin", "x"), 550);
    EXPECT_FALSE(Exists(root + "/no.bin"));
  }
  EXPECT_TRUE(lingering->WaitClosed(2000));
  EXPECT_FALSE(Exists(root));
}

TEST(VsftpdFixture, UserWritesAnonymousReadsAndAllStops) {
  std::string whyNot;
  if (!Vsftpd::Available(whyNot)) GTEST_SKIP() << whyNot;
  unsigned port;
  std::string root, account;
  std::unique_ptr<RawFtpConnection> lingering;  // its session must end with the server
  {
    Vsftpd server;
    port = server.port();
    root = server.root();
    account = server.user();
    lingering = std::make_unique<RawFtpConnection>(port);
    RawFtpConnection& user = *lingering;
    Login(user, server.user(), server.password());
    EXPECT_EQ(user.Command("PWD").substr(0, 9), "257 \"/\" i");
    const std::string data = RandomBytes(100000, 2);
    EXPECT_EQ(Store(user, "up.bin", data), 226);
    EXPECT_EQ(ReadFileBytes(root + "/up.bin"), data);
    struct stat info {};
    ASSERT_EQ(stat((root + "/up.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, getpwnam(account.c_str())->pw_uid);

    RawFtpConnection anonymous(port);
    Login(anonymous, "anonymous", "test@example.org");
    EXPECT_EQ(Store(anonymous, "no.bin", "x"), 550);
    EXPECT_FALSE(Exists(root + "/no.bin"));
  }
  EXPECT_TRUE(lingering->WaitClosed(2000));
  EXPECT_FALSE(Exists(root));
  EXPECT_EQ(getpwnam(account.c_str()), nullptr);
}

TEST(ScriptedServerFixture, PlaysPassiveScript) {
  ScriptedServer server;
  server.Send("220 scripted\r\n").Expect("USER").Send("331 go on\r\n").Expect("PASS").Send("230 in\r\n");
  server.Expect("PASV").SendPasv().Expect("RETR").Send("150 here\r\n").DataSend("hello").Send("226 done\r\n");
  server.Start();
  RawFtpConnection c(server.port());
  Login(c, "me", "pw");
  int fd = ConnectLoopback(c.EnterPassive(), 5000);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(ReplyCode(c.Command("RETR a.txt")), 150);
  EXPECT_EQ(ReceiveUntilEof(fd), "hello");
  close(fd);
  EXPECT_EQ(ReplyCode(c.ReadReply()), 226);
  EXPECT_TRUE(server.WaitDone(5000));
  EXPECT_EQ(server.Received(), (std::vector<std::string>{"USER me", "PASS pw", "PASV", "RETR a.txt"}));
  EXPECT_TRUE(server.Mismatches().empty());
}

TEST(ScriptedServerFixture, ReceivesOverEprt) {
  int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
  ASSERT_EQ(listen(listener, 1), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);

  ScriptedServer server;
  server.Send("220 scripted\r\n").Expect("EPRT").Send("200 ok\r\n").Expect("STOR").Send("150 go\r\n");
  server.DataReceive().Send("226 done\r\n").Start();
  RawFtpConnection c(server.port());
  EXPECT_EQ(ReplyCode(c.ReadReply()), 220);
  EXPECT_EQ(ReplyCode(c.Command("EPRT |1|127.0.0.1|" + std::to_string(ntohs(address.sin_port)) + "|")), 200);
  EXPECT_EQ(ReplyCode(c.Command("STOR b.bin")), 150);
  int fd = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
  close(listener);
  ASSERT_GE(fd, 0);
  SendAllBytes(fd, "abc");
  close(fd);
  EXPECT_EQ(ReplyCode(c.ReadReply()), 226);
  EXPECT_TRUE(server.WaitDone(5000));
  EXPECT_EQ(server.DataReceived(), "abc");
  EXPECT_TRUE(server.Mismatches().empty());
}

TEST(ScriptedServerFixture, RecordsMismatchAndHangDoesNotBlockDestruction) {
  auto start = std::chrono::steady_clock::now();
  {
    ScriptedServer server;
    server.Send("220 scripted\r\n").Expect("USER").Hang().Start();
    RawFtpConnection c(server.port());
    EXPECT_EQ(ReplyCode(c.ReadReply()), 220);
    c.SendLine("PASS x");
    EXPECT_TRUE(server.WaitDone(5000));
    EXPECT_EQ(server.Mismatches().size(), 1u);
    EXPECT_FALSE(c.WaitClosed(200));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
}  // namespace tarvo::test
