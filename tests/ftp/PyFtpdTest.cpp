// Every public member against a real server (pyftpdlib), in active and in passive mode.
#include "PyFtpd.h"
#include "QorFtp.h"
#include "RecordingUi.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <map>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace tarvo::test;
namespace fs = std::filesystem;

namespace {

class PyFtpdSession : public ::testing::TestWithParam<bool> {
protected:
    static void SetUpTestSuite() { server = new PyFtpd(); }
    static void TearDownTestSuite()
    {
        delete server;
        server = nullptr;
    }

    void SetUp() override
    {
        connection.SetUi(&ui);
        connection.SetTimeout(10);
        connection.SetPassive(GetParam() ? 1 : 0);
        ASSERT_EQ(connection.Login("127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, server->port(), ""), 1)
            << (ui.Texts().empty() ? "" : ui.Texts().back());
        // Each test works in a folder of its own under the shared server's root.
        folder = std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
        for (char& c : folder)
            if (c == '/')
                c = '_';
        fs::create_directories(Remote(""));
        ASSERT_EQ(connection.ChangeDirectory("/" + folder), 1);
    }

    void TearDown() override
    {
        connection.Close();
        fs::remove_all(Remote(""));
    }

    std::string Remote(const std::string& name) const { return server->root() + "/" + folder + "/" + name; }

    static PyFtpd* server;
    RecordingUi ui;
    QorFtpConnection connection;
    TempDir local;
    std::string folder;
};

PyFtpd* PyFtpdSession::server = nullptr;

TEST_P(PyFtpdSession, DirectoriesAndQuotedNames)
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
    EXPECT_EQ(connection.ChangeDirectory("missing"), 0);
    EXPECT_EQ(ui.Messages().back().text.rfind("Directory change to 'missing' failed.\n\n550", 0), 0u);
    EXPECT_EQ(connection.RemoveDirectoryA(odd), 1);
    EXPECT_FALSE(fs::exists(Remote(odd)));
}

TEST_P(PyFtpdSession, ListingIsParsed)
{
    WriteFileBytes(Remote("plain.txt"), "12345");
    WriteFileBytes(Remote("name with  spaces"), std::string(2048, 'x'));
    fs::create_directory(Remote("sub dir"));
    fs::create_symlink("plain.txt", Remote("link"));

    ASSERT_GE(connection.GetDir(""), 4);
    std::map<std::string, _Qor_Ftp_FileData> seen;
    _Qor_Ftp_FileData rec;
    while (connection.GetNextFile(rec, 1))
        seen[rec.Name] = rec;
    ASSERT_EQ(seen.count("plain.txt"), 1u);
    EXPECT_EQ(seen["plain.txt"].Type, 0);
    EXPECT_EQ(seen["plain.txt"].Size, 5u);
    EXPECT_EQ(seen["plain.txt"].Permissions.size(), 9u);
    EXPECT_EQ(seen["name with  spaces"].Size, 2048u);
    EXPECT_EQ(seen["sub dir"].Type, 1);
    ASSERT_EQ(seen.count("link -> plain.txt"), 1u);
    EXPECT_EQ(seen["link -> plain.txt"].Type, 2);

    ASSERT_EQ(connection.FindFile("plain.txt", rec), 1);
    EXPECT_EQ(rec.Size, 5u);
    std::string permissions;
    ASSERT_EQ(connection.GetFilePermission("plain.txt", permissions), 1);
    EXPECT_EQ(permissions, seen["plain.txt"].Permissions);
    ui.Clear();
    EXPECT_EQ(connection.FindFile("nothing-here", rec), 0);
    EXPECT_EQ(ui.Texts().size(), 1u);
}

TEST_P(PyFtpdSession, DownloadOverwriteResumeAndAppend)
{
    const std::string content = RandomBytes(3'000'000, 7);
    WriteFileBytes(Remote("data.bin"), content);
    const std::string target = local.file("data.bin");

    WriteFileBytes(target, "old content that must go");
    ASSERT_EQ(connection.GetFile("data.bin", target, 0, 0), 1);
    EXPECT_EQ(ReadFileBytes(target), content);

    // Resume: the first million bytes are here, the rest comes from REST.
    WriteFileBytes(target, content.substr(0, 1'000'000));
    ASSERT_EQ(connection.GetFile("data.bin", target, 1'000'000, 0), 1);
    EXPECT_EQ(ReadFileBytes(target), content);

    WriteFileBytes(target, "prefix");
    ASSERT_EQ(connection.GetFile("data.bin", target, 0, 1), 1);
    EXPECT_EQ(ReadFileBytes(target), "prefix" + content);

    EXPECT_EQ(connection.GetFile("absent.bin", local.file("absent"), 0, 0), 0);
    EXPECT_EQ(connection.GetFile("data.bin", local.file("no/such/folder/x"), 0, 0), 0);
    EXPECT_EQ(ui.Messages().back().title, "Error");
}

TEST_P(PyFtpdSession, UploadStoreResumeAndAppend)
{
    const std::string content = RandomBytes(2'500'000, 11);
    WriteFileBytes(local.file("up.bin"), content);

    ASSERT_EQ(connection.PutFile(local.file("up.bin"), "up.bin", 0, 0), 1);
    EXPECT_EQ(ReadFileBytes(Remote("up.bin")), content);

    WriteFileBytes(Remote("up.bin"), content.substr(0, 500'000));
    ASSERT_EQ(connection.PutFile(local.file("up.bin"), "up.bin", 500'000, 0), 1);
    EXPECT_EQ(ReadFileBytes(Remote("up.bin")), content);

    WriteFileBytes(local.file("tail"), "tail");
    ASSERT_EQ(connection.PutFile(local.file("tail"), "up.bin", 0, 1), 1);
    EXPECT_EQ(ReadFileBytes(Remote("up.bin")), content + "tail");

    WriteFileBytes(local.file("empty"), "");
    ASSERT_EQ(connection.PutFile(local.file("empty"), "empty", 0, 0), 1);
    EXPECT_TRUE(fs::exists(Remote("empty")));
    EXPECT_EQ(connection.PutFile(local.file("missing"), "m", 0, 0), 0);
}

TEST_P(PyFtpdSession, BeyondFourGigabytes)
{
    // A sparse file: only the last bytes travel, after a 64-bit REST.
    const std::uint64_t size = (4ULL << 30) + 10;
    {
        WriteFileBytes(Remote("huge"), "");
        fs::resize_file(Remote("huge"), size - 10);
        FILE* f = std::fopen(Remote("huge").c_str(), "ab");
        std::fputs("0123456789", f);
        std::fclose(f);
    }
    _Qor_Ftp_FileData rec;
    ASSERT_EQ(connection.FindFile("huge", rec), 1);
    EXPECT_EQ(rec.Size, size);
    WriteFileBytes(local.file("huge"), "");
    ASSERT_EQ(connection.GetFile("huge", local.file("huge"), size - 4, 0), 1);
    EXPECT_EQ(ReadFileBytes(local.file("huge")), "6789");
}

TEST_P(PyFtpdSession, ManagementCommands)
{
    WriteFileBytes(Remote("a.txt"), "a");
    ASSERT_EQ(connection.ChMod("a.txt", "640"), 1);
    struct stat info {};
    ASSERT_EQ(::stat(Remote("a.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);

    ASSERT_EQ(connection.Rename("a.txt", "b.txt"), 1);
    EXPECT_TRUE(fs::exists(Remote("b.txt")));
    EXPECT_EQ(connection.Rename("nothing", "c.txt"), 0);
    EXPECT_EQ(ui.Messages().back().text.rfind("Rename file 'nothing' failed.\n\n", 0), 0u);

    ASSERT_EQ(connection.MakeDirectory("d"), 1);
    WriteFileBytes(Remote("d/inner"), "x");
    EXPECT_EQ(connection.RemoveDirectoryA("d"), 0);
    EXPECT_EQ(ui.Messages().back().text.rfind("Delete file 'd' failed.\n\n", 0), 0u);
    ASSERT_EQ(connection.DeleteFileA("d/inner"), 1);
    ASSERT_EQ(connection.RemoveDirectoryA("d"), 1);
    ASSERT_EQ(connection.DeleteFileA("b.txt"), 1);
    EXPECT_EQ(connection.DeleteFileA("b.txt"), 0);
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
    EXPECT_EQ(connection.SendRaw("BOGUS", 1), 0);
    EXPECT_EQ(connection.SendRaw("SITE HELP\r\n", 1), 1);
}

TEST_P(PyFtpdSession, CancelFromAnotherThreadDuringATransfer)
{
    WriteFileBytes(Remote("big"), "");
    fs::resize_file(Remote("big"), 2ULL << 30);
    ui.withWindow = true;
    ui.answer = true;
    // The window holds the transfer until the cancel has been requested from another thread.
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
    EXPECT_EQ(connection.GetFile("big", local.file("big"), 0, 0), 0);
    canceller.join();
    ASSERT_EQ(ui.Questions().size(), 1u);
    EXPECT_EQ(ui.Questions()[0].title, "Cancel");
    EXPECT_EQ(ui.Questions()[0].text, "Are you sure you want to cancel?");
    EXPECT_LT(fs::file_size(local.file("big")), 2ULL << 30);
    // The connection stays usable after a cancel the user confirmed.
    EXPECT_EQ(connection.SendRaw("NOOP", 1), 1);
}

TEST_P(PyFtpdSession, CancelAnsweredNoGoesOn)
{
    WriteFileBytes(local.file("up"), "");
    fs::resize_file(local.file("up"), 256ULL << 20);
    ui.withWindow = true;
    ui.answer = false;
    bool asked = false;
    ui.onProgress = [&](QorFtpProgress& progress) {
        if (!asked && !progress.ByteText().empty()) {
            asked = true;
            connection.CancelOperation();
        }
    };
    ASSERT_EQ(connection.PutFile(local.file("up"), "up", 0, 0), 1);
    EXPECT_EQ(ui.Questions().size(), 1u);
    EXPECT_EQ(fs::file_size(Remote("up")), 256ULL << 20);
}

INSTANTIATE_TEST_SUITE_P(Modes, PyFtpdSession, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Passive" : "Active"; });

TEST(PyFtpdLogin, AnonymousIsReadOnlyAndBadPasswordsAreRefused)
{
    PyFtpd server;
    WriteFileBytes(server.root() + "/pub.txt", "public");
    RecordingUi ui;
    TempDir local;

    QorFtpConnection anonymous;
    anonymous.SetUi(&ui);
    ASSERT_EQ(anonymous.Login("127.0.0.1", "anonymous", "guest@", server.port(), ""), 1);
    ASSERT_EQ(anonymous.GetFile("pub.txt", local.file("pub.txt"), 0, 0), 1);
    EXPECT_EQ(ReadFileBytes(local.file("pub.txt")), "public");
    WriteFileBytes(local.file("up"), "x");
    EXPECT_EQ(anonymous.PutFile(local.file("up"), "up", 0, 0), 0);
    EXPECT_EQ(anonymous.SendRaw("NOOP", 1), 1);
    anonymous.Close();

    QorFtpConnection wrong;
    wrong.SetUi(&ui);
    ui.Clear();
    EXPECT_EQ(wrong.Login("127.0.0.1", PyFtpd::kUser, "wrong", server.port(), ""), 0);
    ASSERT_EQ(ui.Texts().size(), 1u);
    EXPECT_EQ(ui.Texts()[0].rfind("Login to '127.0.0.1' failed.\n\n530", 0), 0u);
    EXPECT_NE(wrong.GetError(), 421u);
    wrong.Close();

    QorFtpConnection refused;
    refused.SetUi(&ui);
    ui.Clear();
    EXPECT_EQ(refused.Login("127.0.0.1", "a", "b", 1, ""), 0);
    EXPECT_TRUE(ui.HasText("Connection refused."));
    QorFtpConnection unknown;
    unknown.SetUi(&ui);
    // A blank makes the name invalid, so the resolver refuses it without asking anyone.
    EXPECT_EQ(unknown.Login("no such host", "a", "b", 21, ""), 0);
    EXPECT_TRUE(ui.HasText("Host not found.")) << ui.Texts().back();
}

TEST(PyFtpdLogin, ServerAtItsLimitAnswers421)
{
    PyFtpdOptions options;
    options.maxConnectionsPerIp = 1;
    PyFtpd server(options);
    RecordingUi ui;
    QorFtpConnection first, second;
    first.SetUi(&ui);
    second.SetUi(&ui);
    ASSERT_EQ(first.Login("127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, server.port(), ""), 1);
    EXPECT_EQ(second.Login("127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, server.port(), ""), 0);
    EXPECT_EQ(second.GetError(), 421u);
}

// EPRT and EPSV: an IPv6 control connection lists and transfers in both modes.
bool Ipv6LoopbackWorks()
{
    int fd = ::socket(AF_INET6, SOCK_STREAM, 0);
    if (fd < 0)
        return false;
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_loopback;
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

TEST(PyFtpdIpv6, ListAndTransferInBothModes)
{
    if (!Ipv6LoopbackWorks())
        GTEST_SKIP() << "this machine has no IPv6 loopback";
    PyFtpdOptions options;
    options.address = "::1";
    PyFtpd server(options);
    const std::string content = RandomBytes(300'000, 13);
    WriteFileBytes(server.root() + "/six.bin", content);
    TempDir local;
    for (int passive : {0, 1}) {
        RecordingUi ui;
        QorFtpConnection connection;
        connection.SetUi(&ui);
        connection.SetPassive(passive);
        ASSERT_EQ(connection.Login("::1", PyFtpd::kUser, PyFtpd::kPassword, server.port(), ""), 1);
        _Qor_Ftp_FileData rec;
        ASSERT_EQ(connection.FindFile("six.bin", rec), 1) << (ui.Texts().empty() ? "" : ui.Texts().back());
        EXPECT_EQ(rec.Size, content.size());
        ASSERT_EQ(connection.GetFile("six.bin", local.file("six.bin"), 0, 0), 1);
        EXPECT_EQ(ReadFileBytes(local.file("six.bin")), content);
        ASSERT_EQ(connection.PutFile(local.file("six.bin"), "back.bin", 0, 0), 1);
        EXPECT_EQ(ReadFileBytes(server.root() + "/back.bin"), content);
        connection.Close();
    }
}

} // namespace
