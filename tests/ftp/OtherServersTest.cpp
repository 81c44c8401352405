// Names with blanks on proftpd (which lists leading and trailing blanks) and pure-ftpd (which
// splits LIST's argument at blanks), with MLSD and with LIST alone.
#include "QorFtp.h"
#include "RecordingUi.h"
#include "TempDir.h"
#include "UnpackedFtpd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using namespace tarvo::test;

namespace {

struct OtherCase {
    UnpackedFtpd::Kind kind;
    bool mlsd;
};

void PrintTo(const OtherCase& c, std::ostream* out)
{
    *out << (c.kind == UnpackedFtpd::Kind::ProFtpd ? "ProFtpd" : "PureFtpd") << (c.mlsd ? "Mlsd" : "List");
}

class OtherServer : public ::testing::TestWithParam<OtherCase> { };

TEST_P(OtherServer, NamesWithBlanksListOpenAndDownload)
{
    std::string whyNot;
    if (!UnpackedFtpd::Available(GetParam().kind, whyNot))
        GTEST_SKIP() << whyNot;
    UnpackedFtpd server(GetParam().kind);
    const std::string root = server.root();
    const char* names[] = {" leading space.txt", "trailing space.txt ", "odd names/inner file.txt"};
    std::filesystem::create_directory(root + "/odd names");
    server.Own(root + "/odd names");
    for (const char* name : names) {
        WriteFileBytes(root + "/" + name, name);
        server.Own(root + "/" + name);
    }

    RecordingUi ui;
    QorFtpConnection connection;
    connection.SetUi(&ui);
    connection.SetTimeout(10);
    connection.SetPassive(1);
    connection.SetUseMlsd(GetParam().mlsd);
    ASSERT_EQ(connection.Login("127.0.0.1", server.user(), server.password(), server.port(), ""), 1) << ui.Last();
    ASSERT_EQ(connection.ChangeDirectory("/"), 1) << ui.Last();

    std::map<std::string, _Qor_Ftp_FileData> seen;
    for (const char* folder : {"", "odd names"}) {
        ASSERT_GE(connection.GetDir(folder), 0) << folder << ": " << ui.Last();
        _Qor_Ftp_FileData rec;
        while (connection.GetNextFile(rec, 1))
            seen[std::string(folder) + (*folder ? "/" : "") + rec.Name] = rec;
    }
    TempDir local;
    for (const char* name : names) {
        ASSERT_EQ(seen.count(name), 1u) << '"' << name << '"';
        EXPECT_EQ(seen[name].Size, std::string(name).size());
        ASSERT_EQ(connection.GetFile(name, local.file("copy"), 0, 0), 1) << name << ": " << ui.Last();
        EXPECT_EQ(ReadFileBytes(local.file("copy")), name);
    }
    EXPECT_EQ(seen["odd names"].Type, 1);
    std::string permissions;
    ASSERT_EQ(connection.GetFilePermission("odd names/inner file.txt", permissions), 1) << ui.Last();
    EXPECT_EQ(permissions, "rw-r--r--");
    std::string cwd;
    ASSERT_EQ(connection.GetCurrentFtpDirectory(cwd), 1);
    EXPECT_EQ(cwd, "/") << "listing a folder from inside it comes back";
    EXPECT_TRUE(ui.Messages().empty()) << ui.Last();
    connection.Close();
}

INSTANTIATE_TEST_SUITE_P(Servers, OtherServer,
                         ::testing::Values(OtherCase{UnpackedFtpd::Kind::ProFtpd, true},
                                           OtherCase{UnpackedFtpd::Kind::ProFtpd, false},
                                           OtherCase{UnpackedFtpd::Kind::PureFtpd, true},
                                           OtherCase{UnpackedFtpd::Kind::PureFtpd, false}));

} // namespace
