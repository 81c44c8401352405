// Integration with vsftpd: its listing format, transfers in both modes, a real connection
// limit, and server-to-server copies with vsftpd as the source and as the destination.
#include "PyFtpd.h"
#include "QorFtp.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "Vsftpd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sys/stat.h>

using namespace tarvo::test;
namespace fs = std::filesystem;

namespace {

std::string Last(const RecordingUi& ui)
{
    auto texts = ui.Texts();
    return texts.empty() ? std::string() : texts.back();
}

class VsftpdSuite : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string whyNot;
        if (!Vsftpd::Available(whyNot))
            GTEST_SKIP() << whyNot;
    }
};

TEST_F(VsftpdSuite, UserSessionInBothModes)
{
    Vsftpd server;
    TempDir local;
    const std::string content = RandomBytes(5'000'000, 5);
    WriteFileBytes(local.file("up.bin"), content);
    for (int passive : {0, 1}) {
        RecordingUi ui;
        QorFtpConnection connection;
        connection.SetUi(&ui);
        connection.SetPassive(passive);
        ASSERT_EQ(connection.Login("127.0.0.1", server.user(), server.password(), server.port(), ""), 1) << Last(ui);
        std::string home;
        ASSERT_EQ(connection.GetCurrentFtpDirectory(home), 1);
        const std::string folder = passive ? "passive dir" : "active dir";
        ASSERT_EQ(connection.MakeDirectory(folder), 1) << Last(ui);
        ASSERT_EQ(connection.ChangeDirectory(folder), 1);

        ASSERT_EQ(connection.PutFile(local.file("up.bin"), "up.bin", 0, 0), 1) << Last(ui);
        ASSERT_EQ(connection.PutFile(local.file("up.bin"), "up.bin", 0, 1), 1) << Last(ui);
        EXPECT_EQ(ReadFileBytes(server.root() + "/" + folder + "/up.bin"), content + content);

        WriteFileBytes(local.file("down.bin"), content.substr(0, 1234));
        ASSERT_EQ(connection.GetFile("up.bin", local.file("down.bin"), 1234, 0), 1) << Last(ui);
        EXPECT_EQ(ReadFileBytes(local.file("down.bin")), content + content);

        ASSERT_EQ(connection.ChMod("up.bin", "600"), 1) << Last(ui);
        struct stat info {};
        ASSERT_EQ(::stat((server.root() + "/" + folder + "/up.bin").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);

        ASSERT_EQ(connection.Rename("up.bin", "renamed bin"), 1);
        ASSERT_EQ(connection.MakeDirectory("sub"), 1);
        ASSERT_GE(connection.GetDir(""), 2);
        std::map<std::string, _Qor_Ftp_FileData> seen;
        _Qor_Ftp_FileData rec;
        while (connection.GetNextFile(rec, 1))
            seen[rec.Name] = rec;
        ASSERT_EQ(seen.count("renamed bin"), 1u);
        EXPECT_EQ(seen["renamed bin"].Size, content.size() * 2);
        EXPECT_EQ(seen["renamed bin"].Permissions, "rw-------");
        EXPECT_EQ(seen["sub"].Type, 1);

        ASSERT_EQ(connection.DeleteFileA("renamed bin"), 1);
        ASSERT_EQ(connection.RemoveDirectoryA("sub"), 1);
        ASSERT_EQ(connection.ChangeDirectory(".."), 1);
        EXPECT_EQ(connection.GetCurrentDirectoryA(), home);
        connection.Close();
        EXPECT_TRUE(ui.Messages().empty()) << Last(ui);
    }
}

TEST_F(VsftpdSuite, LinksAndAnonymousReadOnly)
{
    Vsftpd server;
    WriteFileBytes(server.root() + "/readme", "hello");
    fs::create_symlink("readme", server.root() + "/readme.lnk");
    RecordingUi ui;
    QorFtpConnection connection;
    connection.SetUi(&ui);
    ASSERT_EQ(connection.Login("127.0.0.1", "anonymous", "x@y", server.port(), ""), 1) << Last(ui);
    ASSERT_GE(connection.GetDir(""), 2);
    std::map<std::string, _Qor_Ftp_FileData> seen;
    _Qor_Ftp_FileData rec;
    while (connection.GetNextFile(rec, 1))
        seen[rec.Name] = rec;
    EXPECT_EQ(seen.count("readme.lnk -> readme"), 1u);
    EXPECT_EQ(seen["readme"].Size, 5u);
    EXPECT_EQ(connection.MakeDirectory("nope"), 0);
    EXPECT_EQ(Last(ui).rfind("Make directory 'nope' failed.\n\n550", 0), 0u) << Last(ui);
}

TEST_F(VsftpdSuite, ConnectionLimitAnswers421)
{
    VsftpdOptions options;
    options.maxClients = 1;
    Vsftpd server(options);
    RecordingUi ui;
    QorFtpConnection first, second;
    first.SetUi(&ui);
    second.SetUi(&ui);
    ASSERT_EQ(first.Login("127.0.0.1", server.user(), server.password(), server.port(), ""), 1);
    EXPECT_EQ(second.Login("127.0.0.1", server.user(), server.password(), server.port(), ""), 0);
    EXPECT_EQ(second.GetError(), 421u);
    EXPECT_EQ(Last(ui).rfind("Login to '127.0.0.1' failed.\n\n421", 0), 0u) << Last(ui);
}

// FromTo in both directions between vsftpd and pyftpdlib, copying and appending.
TEST_F(VsftpdSuite, ServerToServerBothWays)
{
    Vsftpd vsftpd;
    PyFtpd pyftpd;
    const std::string content = RandomBytes(3'000'000, 9);
    WriteFileBytes(vsftpd.root() + "/from-vsftpd", content);
    WriteFileBytes(pyftpd.root() + "/from-pyftpd", content);
    RecordingUi ui;

    auto login = [&](QorFtpConnection& c, bool toVsftpd) {
        c.SetUi(&ui);
        c.SetTimeout(10);
        return toVsftpd ? c.Login("127.0.0.1", vsftpd.user(), vsftpd.password(), vsftpd.port(), "")
                        : c.Login("127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, pyftpd.port(), "");
    };
    {
        QorFtpConnection source, destination;
        ASSERT_EQ(login(source, true), 1);
        ASSERT_EQ(login(destination, false), 1);
        ASSERT_EQ(source.FromTo(destination.GetSocket(), "from-vsftpd", "copy", 0), 1) << Last(ui);
        ASSERT_EQ(source.FromTo(destination.GetSocket(), "from-vsftpd", "copy", 1), 1) << Last(ui);
        EXPECT_EQ(ReadFileBytes(pyftpd.root() + "/copy"), content + content);
    }
    {
        QorFtpConnection source, destination;
        ASSERT_EQ(login(source, false), 1);
        ASSERT_EQ(login(destination, true), 1);
        ASSERT_EQ(source.FromTo(destination.GetSocket(), "from-pyftpd", "copy", 0), 1) << Last(ui);
        EXPECT_EQ(ReadFileBytes(vsftpd.root() + "/copy"), content);
        // A refused step reports the refusing server's reply.
        EXPECT_EQ(source.FromTo(destination.GetSocket(), "absent", "other", 0), 0);
        EXPECT_FALSE(ui.Messages().empty());
    }
    {
        QorFtpConnection source, destination;
        ASSERT_EQ(login(source, true), 1);
        ASSERT_EQ(login(destination, true), 1);
        ASSERT_EQ(source.FromTo(destination.GetSocket(), "from-vsftpd", "self copy", 0), 1) << Last(ui);
        EXPECT_EQ(ReadFileBytes(vsftpd.root() + "/self copy"), content);
    }
}

} // namespace
