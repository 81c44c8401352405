// Every public member against real servers on loopback, each in active and in passive mode:
// pyftpdlib over IPv4 and over IPv6 (EPRT and EPSV), and vsftpd; then what needs a server of
// its own: connection limits and copies from one server to the other.
#include "PyFtpd.h"
#include "QorFtp.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "Vsftpd.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace tarvo::test;
namespace fs = std::filesystem;

namespace {

enum class Server { PyFtpd, PyFtpdIpv6, Vsftpd };

struct SessionCase {
    Server server;
    bool passive;
};

void PrintTo(const SessionCase& c, std::ostream* out)
{
    const char* names[] = {"PyFtpd", "PyFtpdIpv6", "Vsftpd"};
    *out << names[static_cast<int>(c.server)] << (c.passive ? "Passive" : "Active");
}

bool Ipv6LoopbackWorks()
{
    const int probe = ::socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in6 loopback{AF_INET6, 0, 0, IN6ADDR_LOOPBACK_INIT, 0};
    const bool bound = ::bind(probe, reinterpret_cast<sockaddr*>(&loopback), sizeof loopback) == 0;
    ::close(probe);
    return bound;
}

// Started on first use and shared by the tests of a process; null where one cannot run.
PyFtpd& SharedPyFtpd()
{
    static PyFtpd server;
    return server;
}

PyFtpd* SharedPyFtpdIpv6()
{
    static auto server = Ipv6LoopbackWorks() ? std::make_unique<PyFtpd>(PyFtpdOptions{.address = "::1"}) : nullptr;
    return server.get();
}

Vsftpd* SharedVsftpd()
{
    static std::string whyNot;
    static std::unique_ptr<Vsftpd> server = Vsftpd::Available(whyNot) ? std::make_unique<Vsftpd>() : nullptr;
    return server.get();
}

std::map<std::string, _Qor_Ftp_FileData> List(QorFtpConnection& connection, const std::string& path = "")
{
    std::map<std::string, _Qor_Ftp_FileData> seen;
    _Qor_Ftp_FileData rec;
    if (connection.GetDir(path) >= 0)
        while (connection.GetNextFile(rec, 1))
            seen[rec.Name] = rec;
    return seen;
}

class Session : public ::testing::TestWithParam<SessionCase> {
protected:
    void SetUp() override
    {
        const Server kind = GetParam().server;
        PyFtpd* pyftpd = kind == Server::PyFtpd ? &SharedPyFtpd()
            : kind == Server::PyFtpdIpv6        ? SharedPyFtpdIpv6()
                                                : nullptr;
        Vsftpd* vsftpd = kind == Server::Vsftpd ? SharedVsftpd() : nullptr;
        if (!pyftpd && !vsftpd)
            GTEST_SKIP() << "no IPv6 loopback, or vsftpd cannot run here (it needs root)";
        host = kind == Server::PyFtpdIpv6 ? "::1" : "127.0.0.1";
        root = vsftpd ? vsftpd->root() : pyftpd->root();
        port = vsftpd ? vsftpd->port() : pyftpd->port();
        const std::string user = vsftpd ? vsftpd->user() : PyFtpd::kUser;
        connection.SetUi(&ui);
        connection.SetTimeout(10);
        connection.SetPassive(GetParam().passive ? 1 : 0);
        ASSERT_EQ(connection.Login(host, user, vsftpd ? vsftpd->password() : PyFtpd::kPassword, port, ""), 1)
            << ui.Last();
        // Each test works in a folder of its own, made by the server so that its user owns it.
        folder = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(folder.begin(), folder.end(), '/', '_');
        ASSERT_EQ(connection.MakeDirectory(folder), 1) << ui.Last();
        ASSERT_EQ(connection.ChangeDirectory("/" + folder), 1) << ui.Last();
    }

    void TearDown() override
    {
        connection.Close();
        if (!folder.empty())
            fs::remove_all(Remote(""));
    }

    std::string Remote(const std::string& name) const { return root + "/" + folder + "/" + name; }

    // A file put in place behind the server's back, owned like the folder so the server's user
    // may change it.
    void Plant(const std::string& name, const std::string& bytes, std::uint64_t size = 0)
    {
        WriteFileBytes(Remote(name), bytes);
        if (size)
            fs::resize_file(Remote(name), size);
        struct stat owner { };
        ASSERT_EQ(::stat(Remote("").c_str(), &owner), 0);
        ASSERT_EQ(::chown(Remote(name).c_str(), owner.st_uid, owner.st_gid), 0);
    }

    std::string host, root;
    unsigned port = 0;
    RecordingUi ui;
    QorFtpConnection connection;
    TempDir local;
    std::string folder;
};

TEST_P(Session, DirectoriesAndQuotedNames)
{
    std::string cwd;
    ASSERT_EQ(connection.GetCurrentFtpDirectory(cwd), 1);
    EXPECT_EQ(cwd, "/" + folder);
    EXPECT_EQ(connection.GetCurrentDirectoryA(), cwd);

    const std::string odd = "say \"hi\" there";
    ASSERT_EQ(connection.MakeDirectory(odd), 1);
    ASSERT_EQ(connection.ChangeDirectory(odd), 1);
    EXPECT_EQ(connection.GetCurrentDirectoryA(), "/" + folder + "/" + odd);
    ASSERT_EQ(connection.ChangeDirectory(""), 1);
    EXPECT_EQ(connection.GetCurrentDirectoryA(), "/" + folder + "/" + odd);
    ASSERT_EQ(connection.ChangeDirectory(".."), 1);
    EXPECT_EQ(connection.GetCurrentDirectoryA(), cwd);
    EXPECT_TRUE(ui.Messages().empty()) << ui.Last();
    EXPECT_EQ(connection.ChangeDirectory("missing"), 0);
    EXPECT_EQ(ui.Last().rfind("Directory change to 'missing' failed.\n\n550", 0), 0u) << ui.Last();
    EXPECT_EQ(connection.RemoveDirectoryA(odd), 1);
    EXPECT_FALSE(fs::exists(Remote(odd)));
}

TEST_P(Session, ListingIsParsed)
{
    Plant("plain.txt", "12345");
    Plant("name with  spaces", std::string(2048, 'x'));
    fs::create_directory(Remote("sub dir"));
    // Not to plain.txt: vsftpd's LIST of a name also lists links whose target ends in it.
    fs::create_symlink("sub dir", Remote("link"));

    // Blanks where a name begins and UTF-8 (from MLSD on pyftpdlib, from LIST's columns on vsftpd).
    const std::string odd = "  l\xC3\xA9ading blanks.txt";
    Plant(odd, "odd");
    auto seen = List(connection);
    ASSERT_EQ(seen.count(odd), 1u) << ui.Last();
    ASSERT_EQ(connection.GetFile(odd, local.file("odd"), 0, 0), 1) << ui.Last();
    EXPECT_EQ(ReadFileBytes(local.file("odd")), "odd");
    ASSERT_EQ(seen.count("plain.txt"), 1u) << ui.Last();
    EXPECT_EQ(seen["plain.txt"].Type, 0);
    EXPECT_EQ(seen["plain.txt"].Size, 5u);
    EXPECT_EQ(seen["plain.txt"].Permissions.size(), 9u);
    EXPECT_EQ(seen["name with  spaces"].Size, 2048u);
    EXPECT_EQ(seen["sub dir"].Type, 1);
    // LIST shows a link with its target; MLSD (pyftpdlib) names the link alone, as what it leads to.
    if (GetParam().server == Server::Vsftpd) {
        ASSERT_EQ(seen.count("link -> sub dir"), 1u);
        EXPECT_EQ(seen["link -> sub dir"].Type, 2);
    } else {
        ASSERT_EQ(seen.count("link"), 1u);
        EXPECT_NE(seen["link"].Type, 0);
    }

    _Qor_Ftp_FileData rec;
    ASSERT_EQ(connection.FindFile("plain.txt", rec), 1);
    EXPECT_EQ(rec.Size, 5u);
    std::string permissions;
    ASSERT_EQ(connection.GetFilePermission("plain.txt", permissions), 1);
    EXPECT_EQ(permissions, seen["plain.txt"].Permissions);
    EXPECT_TRUE(ui.Messages().empty()) << ui.Last();
    // vsftpd lists nothing for a missing name; pyftpdlib refuses, which is shown once.
    EXPECT_EQ(connection.FindFile("nothing-here", rec), 0);
    EXPECT_EQ(ui.Messages().size(), GetParam().server == Server::Vsftpd ? 0u : 1u);
}

TEST_P(Session, DownloadOverwriteResumeAndAppend)
{
    const std::string content = RandomBytes(3'000'000, 7);
    Plant("data.bin", content);
    const std::string target = local.file("data.bin");

    WriteFileBytes(target, "old content that must go");
    ASSERT_EQ(connection.GetFile("data.bin", target, 0, 0), 1) << ui.Last();
    EXPECT_EQ(ReadFileBytes(target), content);

    // Resume: the first million bytes are here, the rest comes from REST.
    WriteFileBytes(target, content.substr(0, 1'000'000));
    ASSERT_EQ(connection.GetFile("data.bin", target, 1'000'000, 0), 1);
    EXPECT_EQ(ReadFileBytes(target), content);

    WriteFileBytes(target, "prefix");
    ASSERT_EQ(connection.GetFile("data.bin", target, 0, 1), 1);
    EXPECT_EQ(ReadFileBytes(target), "prefix" + content);
    EXPECT_TRUE(ui.Messages().empty()) << ui.Last();

    EXPECT_EQ(connection.GetFile("absent.bin", local.file("absent"), 0, 0), 0);
    EXPECT_EQ(connection.GetFile("data.bin", local.file("no/such/folder/x"), 0, 0), 0);
    EXPECT_EQ(ui.Messages().back().title, "Error");
}

TEST_P(Session, UploadStoreResumeAndAppend)
{
    const std::string content = RandomBytes(2'500'000, 11);
    WriteFileBytes(local.file("up.bin"), content);

    ASSERT_EQ(connection.PutFile(local.file("up.bin"), "up.bin", 0, 0), 1) << ui.Last();
    EXPECT_EQ(ReadFileBytes(Remote("up.bin")), content);

    Plant("up.bin", content.substr(0, 500'000));
    ASSERT_EQ(connection.PutFile(local.file("up.bin"), "up.bin", 500'000, 0), 1) << ui.Last();
    EXPECT_EQ(ReadFileBytes(Remote("up.bin")), content);

    WriteFileBytes(local.file("tail"), "tail");
    ASSERT_EQ(connection.PutFile(local.file("tail"), "up.bin", 0, 1), 1);
    EXPECT_EQ(ReadFileBytes(Remote("up.bin")), content + "tail");

    WriteFileBytes(local.file("empty"), "");
    ASSERT_EQ(connection.PutFile(local.file("empty"), "empty", 0, 0), 1);
    EXPECT_TRUE(fs::exists(Remote("empty")));
    EXPECT_TRUE(ui.Messages().empty()) << ui.Last();
    EXPECT_EQ(connection.PutFile(local.file("missing"), "m", 0, 0), 0);
}

TEST_P(Session, BeyondFourGigabytes)
{
    // A sparse file: only the last bytes travel, after a 64-bit REST.
    const std::uint64_t size = (4ULL << 30) + 10;
    Plant("huge", "", size - 10);
    std::ofstream(Remote("huge"), std::ios::app) << "0123456789";
    _Qor_Ftp_FileData rec;
    ASSERT_EQ(connection.FindFile("huge", rec), 1);
    EXPECT_EQ(rec.Size, size);
    WriteFileBytes(local.file("huge"), "");
    ASSERT_EQ(connection.GetFile("huge", local.file("huge"), size - 4, 0), 1) << ui.Last();
    EXPECT_EQ(ReadFileBytes(local.file("huge")), "6789");
}

TEST_P(Session, ManagementCommands)
{
    Plant("a.txt", "a");
    ASSERT_EQ(connection.ChMod("a.txt", "640"), 1) << ui.Last();
    struct stat info { };
    ASSERT_EQ(::stat(Remote("a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(List(connection)["a.txt"].Permissions, "rw-r-----");

    ASSERT_EQ(connection.Rename("a.txt", "b c.txt"), 1);
    EXPECT_TRUE(fs::exists(Remote("b c.txt")));
    EXPECT_EQ(connection.Rename("nothing", "c.txt"), 0);
    EXPECT_EQ(ui.Last().rfind("Rename file 'nothing' failed.\n\n", 0), 0u) << ui.Last();

    ASSERT_EQ(connection.MakeDirectory("d"), 1);
    Plant("d/inner", "x");
    EXPECT_EQ(connection.RemoveDirectoryA("d"), 0);
    EXPECT_EQ(ui.Last().rfind("Delete file 'd' failed.\n\n", 0), 0u) << ui.Last();
    ASSERT_EQ(connection.DeleteFileA("d/inner"), 1);
    ASSERT_EQ(connection.RemoveDirectoryA("d"), 1);
    ASSERT_EQ(connection.DeleteFileA("b c.txt"), 1);
    EXPECT_EQ(connection.DeleteFileA("b c.txt"), 0);
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
    EXPECT_EQ(connection.SendRaw("BOGUS", 1), 0);
    EXPECT_EQ(connection.SendRaw("SITE HELP\r\n", 1), 1);
}

TEST_P(Session, AnonymousReadsButCannotWrite)
{
    Plant("pub.txt", "public");
    QorFtpConnection anonymous;
    anonymous.SetUi(&ui);
    anonymous.SetPassive(GetParam().passive ? 1 : 0);
    ASSERT_EQ(anonymous.Login(host, "anonymous", "guest@", port, ""), 1) << ui.Last();
    ASSERT_EQ(anonymous.GetFile(folder + "/pub.txt", local.file("pub.txt"), 0, 0), 1) << ui.Last();
    EXPECT_EQ(ReadFileBytes(local.file("pub.txt")), "public");
    EXPECT_EQ(anonymous.MakeDirectory("nope"), 0);
    EXPECT_EQ(ui.Last().rfind("Make directory 'nope' failed.\n\n550", 0), 0u) << ui.Last();
    EXPECT_EQ(anonymous.PutFile(local.file("pub.txt"), folder + "/up", 0, 0), 0);
    EXPECT_FALSE(fs::exists(Remote("up")));
    EXPECT_EQ(anonymous.SendRaw("NOOP", 1), 1);
}

TEST_P(Session, CancelAnsweredNoGoesOnAndYesStops)
{
    WriteFileBytes(local.file("up"), "");
    fs::resize_file(local.file("up"), 256ULL << 20);
    Plant("big", "", 2ULL << 30);
    ui.withWindow = true;
    // At the first byte count another thread cancels, and the window holds the transfer until
    // it has.
    std::atomic<bool> requested{false};
    std::thread canceller;
    ui.onProgress = [&](QorFtpProgress& progress) {
        if (progress.ByteText().empty() || canceller.joinable())
            return;
        canceller = std::thread([&] {
            connection.CancelOperation();
            requested = true;
        });
        while (!requested)
            std::this_thread::yield();
    };
    ui.answer = false;
    ASSERT_EQ(connection.PutFile(local.file("up"), "up", 0, 0), 1) << ui.Last();
    canceller.join();
    EXPECT_EQ(fs::file_size(Remote("up")), 256ULL << 20);

    ui.answer = true;
    requested = false;
    EXPECT_EQ(connection.GetFile("big", local.file("big"), 0, 0), 0);
    canceller.join();
    ASSERT_EQ(ui.Questions().size(), 2u);
    EXPECT_EQ(ui.Questions()[1].title, "Cancel");
    EXPECT_EQ(ui.Questions()[1].text, "Are you sure you want to cancel?");
    EXPECT_LT(fs::file_size(local.file("big")), 2ULL << 30);
    // The connection stays usable after a cancel the user confirmed.
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
}

INSTANTIATE_TEST_SUITE_P(Servers, Session,
                         ::testing::Values(SessionCase{Server::PyFtpd, false}, SessionCase{Server::PyFtpd, true},
                                           SessionCase{Server::PyFtpdIpv6, false},
                                           SessionCase{Server::PyFtpdIpv6, true}, SessionCase{Server::Vsftpd, false},
                                           SessionCase{Server::Vsftpd, true}));

TEST(Login, RefusalsAndFailuresAreReported)
{
    RecordingUi ui;
    QorFtpConnection wrong, refused, unknown;
    for (QorFtpConnection* c : {&wrong, &refused, &unknown})
        c->SetUi(&ui);
    EXPECT_EQ(wrong.Login("127.0.0.1", PyFtpd::kUser, "wrong", SharedPyFtpd().port(), ""), 0);
    ASSERT_EQ(ui.Messages().size(), 1u);
    EXPECT_EQ(ui.Last().rfind("Login to '127.0.0.1' failed.\n\n530", 0), 0u) << ui.Last();
    EXPECT_NE(wrong.GetError(), 421u);

    EXPECT_EQ(refused.Login("127.0.0.1", "a", "b", 1, ""), 0);
    EXPECT_EQ(ui.Last(), "Connection refused.");
    // A blank makes the name invalid, so the resolver refuses it without asking anyone.
    EXPECT_EQ(unknown.Login("no such host", "a", "b", 21, ""), 0);
    EXPECT_EQ(ui.Last(), "Host not found.");
}

// A real limit: vsftpd at its client limit answers the next login with 421, which fails it as
// such (the operations' tests meet pyftpdlib's).
TEST(Login, VsftpdAtItsLimitAnswers421)
{
    std::string whyNot;
    if (!Vsftpd::Available(whyNot))
        GTEST_SKIP() << whyNot;
    Vsftpd server(VsftpdOptions{.maxClients = 1});
    RecordingUi ui;
    QorFtpConnection first, second;
    first.SetUi(&ui);
    second.SetUi(&ui);
    ASSERT_EQ(first.Login("127.0.0.1", server.user(), server.password(), server.port(), ""), 1) << ui.Last();
    EXPECT_EQ(second.Login("127.0.0.1", server.user(), server.password(), server.port(), ""), 0);
    EXPECT_EQ(second.GetError(), 421u);
    EXPECT_EQ(ui.Last().rfind("Login to '127.0.0.1' failed.\n\n421", 0), 0u) << ui.Last();
}

// FromTo from vsftpd to pyftpdlib, back, and from vsftpd to itself: a copy, then an append.
TEST(ServerToServer, BothWaysAndToItself)
{
    if (!SharedVsftpd())
        GTEST_SKIP() << "vsftpd cannot run here (it needs root)";
    Vsftpd& vsftpd = *SharedVsftpd();
    PyFtpd& pyftpd = SharedPyFtpd();
    const std::string content = RandomBytes(3'000'000, 9);
    WriteFileBytes(vsftpd.root() + "/source", content);
    WriteFileBytes(pyftpd.root() + "/source", content);
    RecordingUi ui;
    auto login = [&](QorFtpConnection& c, bool toVsftpd) {
        c.SetUi(&ui);
        c.SetTimeout(10);
        return toVsftpd ? c.Login("127.0.0.1", vsftpd.user(), vsftpd.password(), vsftpd.port(), "")
                        : c.Login("127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, pyftpd.port(), "");
    };
    const std::pair<bool, bool> ways[] = {{true, false}, {false, true}, {true, true}};
    for (const auto& [fromVsftpd, toVsftpd] : ways) {
        SCOPED_TRACE(std::string(fromVsftpd ? "vsftpd" : "pyftpdlib") + " to " + (toVsftpd ? "vsftpd" : "pyftpdlib"));
        const std::string copy = fromVsftpd == toVsftpd ? "self copy" : "copy";
        QorFtpConnection source, destination;
        ASSERT_EQ(login(source, fromVsftpd), 1);
        ASSERT_EQ(login(destination, toVsftpd), 1);
        ASSERT_EQ(source.FromTo(destination.GetSocket(), "source", copy, 0), 1) << ui.Last();
        EXPECT_EQ(ReadFileBytes((toVsftpd ? vsftpd.root() : pyftpd.root()) + "/" + copy), content);
        ASSERT_EQ(source.FromTo(destination.GetSocket(), "source", copy, 1), 1) << ui.Last();
        EXPECT_EQ(ReadFileBytes((toVsftpd ? vsftpd.root() : pyftpd.root()) + "/" + copy), content + content);
        // A refused step reports the refusing server's reply.
        EXPECT_EQ(source.FromTo(destination.GetSocket(), "absent", "other", 0), 0);
        EXPECT_EQ(ui.Last().substr(0, 3), "550");
        ui.Clear();
    }
}

// After the server closed an idle session, Relogin logs in once more with the last details and
// goes back into the folder, or into its nearest parent when the folder has gone meanwhile.
TEST(Relogin, AfterAnIdleCloseGoesBackToTheFolderOrItsParent)
{
    PyFtpd server(PyFtpdOptions{.idleTimeoutSeconds = 1});
    RecordingUi ui;
    QorFtpConnection connection;
    connection.SetUi(&ui);
    connection.SetPassive(1);
    EXPECT_EQ(connection.Relogin(), 0) << "no login to repeat";
    ASSERT_EQ(connection.Login("127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, server.port(), ""), 1);
    fs::create_directories(server.root() + "/a/b");
    for (const char* gone : {"", "/a/b"}) {
        ASSERT_EQ(connection.ChangeDirectory("/a/b"), 1) << ui.Last();
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        if (*gone)
            fs::remove(server.root() + gone);
        ASSERT_EQ(connection.Relogin(), 1) << ui.Last();
        EXPECT_EQ(connection.GetCurrentDirectoryA(), *gone ? "/a" : "/a/b");
        EXPECT_GE(connection.GetDir(""), 0) << ui.Last();
        if (*gone)
            fs::create_directories(server.root() + "/a/b");
    }
    EXPECT_EQ(server.Logins(), 3);
}

} // namespace
