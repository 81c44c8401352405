// Folder jobs against pyftpdlib and vsftpd: a tree downloaded, uploaded and copied between servers
// byte for byte (empty folder, blanks and UTF-8 in names, an empty file, one file over 4 GiB), a
// cancel half way, a file the server refuses, a name that would climb out of the folder, a
// server that allows one session, a copy into itself, deletes, and scripts.
#include "OperationsFixture.h"

#include "operations/Executor.h"
#include "operations/FolderJob.h"

#include "ScriptedServer.h"
#include "TestCertificates.h"
#include "Vsftpd.h"
#include "servers/ServerStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <thread>

using namespace optest;
namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kBigSize = (4ull << 30) + 12'345;
const std::uint64_t kSamples[] = {0, 1ull << 31, (4ull << 30) + 100, kBigSize - 64};

// The test tree; `big` adds a sparse file over 4 GiB with a few marked places.
void MakeTree(const std::string& root, bool big)
{
    fs::create_directories(root + "/empty folder");
    fs::create_directories(root + "/sub dir/deeper");
    WriteFileBytes(root + "/zero", "");
    WriteFileBytes(root + "/a.bin", RandomBytes(200'000, 1));
    WriteFileBytes(root + "/sub dir/Grüße ä.txt", "hallo");
    WriteFileBytes(root + "/sub dir/deeper/b.bin", RandomBytes(1'000'000, 2));
    if (big) {
        const int fd = ::open((root + "/big").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kBigSize)), 0);
        for (std::uint64_t at : kSamples)
            ASSERT_EQ(::pwrite(fd, "marked!", 7, static_cast<off_t>(at) + 3), 7);
        ::close(fd);
    }
}

// Every entry below `root`: "dir" for a folder, the size and a hash of the content for a file, the
// size and the sampled places for the big one.
std::map<std::string, std::string> Snapshot(const std::string& root)
{
    std::map<std::string, std::string> seen;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(entry.path(), root).string();
        if (entry.is_directory()) {
            seen[relative] = "dir";
        } else if (entry.file_size() > (1ull << 30)) {
            std::string text = std::to_string(entry.file_size());
            const int fd = ::open(entry.path().c_str(), O_RDONLY);
            for (std::uint64_t at : kSamples) {
                char bytes[64] = {};
                EXPECT_EQ(::pread(fd, bytes, sizeof bytes, static_cast<off_t>(at)), 64);
                text += "|" + std::string(bytes, sizeof bytes);
            }
            ::close(fd);
            seen[relative] = text;
        } else {
            const std::string content = ReadFileBytes(entry.path());
            seen[relative] = std::to_string(content.size()) + " #" + std::to_string(std::hash<std::string>{}(content));
        }
    }
    return seen;
}

Vsftpd* SharedVsftpd()
{
    static std::string whyNot;
    static std::unique_ptr<Vsftpd> server = Vsftpd::Available(whyNot) ? std::make_unique<Vsftpd>() : nullptr;
    return server.get();
}

class FolderJobs : public OperationsTest {
protected:
    void SetUp() override
    {
        OperationsTest::SetUp();
        AddServer("one", first.port(), PyFtpd::kPassword, 1);
        AddServer("two", second.port(), PyFtpd::kPassword, 1);
    }
    void AddVsftpd(const std::string& name, const Vsftpd& server)
    {
        ServerMap[name]
            = ServerRecord{name, "127.0.0.1", server.user(), server.password(), "", int(server.port()), 1, ""};
    }
    void SetParallel(int count)
    {
        AppSettings settings = ProgramSettings();
        settings.parallelTransfers = count;
        SetProgramSettings(settings);
    }
    // The progress the job's row carried, from the host's first count report.
    std::shared_ptr<JobProgress> Progress() const
    {
        return !host.counts.empty() && host.counts[0].row ? host.counts[0].row->progress : nullptr;
    }

    PyFtpd first, second;
};

enum class Way { Down, Up, Across };
struct RoundTripCase {
    const char* name;
    Way way;
    bool vsftpd; // the tree's server (the target of an upload) is vsftpd
    bool big;
};
void PrintTo(const RoundTripCase& row, std::ostream* out)
{
    *out << row.name;
}

class FolderRoundTrip : public FolderJobs, public ::testing::WithParamInterface<RoundTripCase> { };

TEST_P(FolderRoundTrip, TheTreeArrivesWhole)
{
    const RoundTripCase& row = GetParam();
    std::string serverRoot = first.root();
    if (row.vsftpd) {
        if (!SharedVsftpd())
            GTEST_SKIP() << "vsftpd cannot run here (it needs root)";
        AddVsftpd("one", *SharedVsftpd());
        serverRoot = SharedVsftpd()->root();
        fs::remove_all(serverRoot + "/tree");
        fs::remove_all(serverRoot + "/up");
    }
    TempDir reference;
    MakeTree(reference.file("tree"), row.big);
    std::string arrived;
    if (row.way == Way::Up) {
        MakeTree(local.file("tree"), row.big);
        Run(Request(OperationKind::FolderUpload, "", local.file("tree"), "", "one", "/up"));
        arrived = serverRoot + "/up";
        EXPECT_EQ(host.Row(),
                  "Uploading folder " + local.file("tree") + " | Uploading folder " + local.file("tree") + " to one");
    } else {
        MakeTree(serverRoot + "/tree", row.big);
        if (row.way == Way::Down) {
            Run(Request(OperationKind::FolderDownload, "one", "/tree", local.file("got")));
            arrived = local.file("got");
        } else {
            Run(Request(OperationKind::FolderTransfer, "one", "/tree", "", "two", "/copy"));
            arrived = second.root() + "/copy";
        }
    }
    EXPECT_EQ(Snapshot(arrived), Snapshot(reference.file("tree")));
    EXPECT_TRUE(interaction.asked.empty()) << interaction.asked.front().second;
    const std::shared_ptr<JobProgress> progress = Progress();
    ASSERT_TRUE(progress);
    EXPECT_FALSE(progress->counting);
    EXPECT_EQ(progress->totalFiles, row.big ? 5u : 4u);
    EXPECT_EQ(progress->doneFiles, progress->totalFiles.load());
    EXPECT_EQ(progress->failedFiles, 0u);
    EXPECT_EQ(progress->doneBytes, progress->totalBytes.load());
    // ParallelTransfers is 2 unless set: two connections per server.
    EXPECT_EQ(connections, row.way == Way::Across ? 4 : 2);
    if (row.vsftpd) {
        fs::remove_all(serverRoot + "/tree");
        fs::remove_all(serverRoot + "/up");
    }
}

INSTANTIATE_TEST_SUITE_P(Ways, FolderRoundTrip,
                         ::testing::Values(RoundTripCase{"DownloadOver4GiB", Way::Down, false, true},
                                           RoundTripCase{"Upload", Way::Up, false, false},
                                           RoundTripCase{"Across", Way::Across, false, false},
                                           RoundTripCase{"DownloadVsftpd", Way::Down, true, false},
                                           RoundTripCase{"UploadVsftpd", Way::Up, true, false},
                                           RoundTripCase{"AcrossFromVsftpd", Way::Across, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FolderJobs, ACancelHalfWayReportsOnlyWholeFiles)
{
    // Starts the download of `folder` and cancels it once `ready` holds.
    const auto cancelWhen = [this](const std::string& folder, const std::function<bool(const JobProgress&)>& ready) {
        std::uint32_t id = 0;
        StartOperation(Request(OperationKind::FolderDownload, "one", folder, local.file(folder.substr(1))), &id);
        const std::optional<OperationStatus> row = OperationStatusList.Find(id);
        EXPECT_TRUE(row && row->progress);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!ready(*row->progress) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        OperationStatusList.Cancel(id);
        EXPECT_TRUE(WaitForOperations(std::chrono::seconds(60)));
        return row->progress;
    };
    std::map<std::string, std::string> files;
    for (int i = 0; i < 60; ++i)
        files["f" + std::to_string(i)] = RandomBytes(1'500'000, i);
    fs::create_directory(first.root() + "/many");
    for (const auto& [name, content] : files)
        WriteFileBytes(first.root() + "/many/" + name, content);
    std::shared_ptr<JobProgress> progress = cancelWhen("/many", [](const JobProgress& p) { return p.doneFiles >= 3; });
    const std::uint64_t done = progress->doneFiles;
    EXPECT_LT(done, progress->totalFiles.load());
    EXPECT_EQ(progress->totalFiles, 60u);
    std::uint64_t whole = 0;
    for (const auto& [name, content] : files) {
        const std::string path = local.file("many/" + name);
        whole += fs::exists(path) && ReadFileBytes(path) == content;
    }
    EXPECT_GE(whole, done) << "a file counted as done is whole";
    EXPECT_LE(whole, done + 2) << "at most the files in flight finished unreported";

    // Both connections are in the middle of a large file: the cancel stops both, so neither
    // file is counted, and each stays shorter than its source.
    constexpr std::uint64_t kLarge = 512ull << 20;
    fs::create_directory(first.root() + "/large");
    for (int i = 0; i < 4; ++i) {
        const std::string path = first.root() + "/large/l" + std::to_string(i);
        WriteFileBytes(path, "sparse");
        fs::resize_file(path, kLarge);
    }
    progress = cancelWhen("/large", [](const JobProgress& p) { return p.doneBytes >= (64u << 20); });
    EXPECT_EQ(progress->doneFiles, 0u);
    for (const auto& entry : fs::directory_iterator(local.file("large")))
        EXPECT_LT(entry.file_size(), kLarge) << entry.path();
    EXPECT_TRUE(interaction.Of("message").empty()) << "a cancel is no failure";
}

struct RefusedCase {
    const char* name;
    bool vsftpd; // a file without read permission; otherwise a link out of the server's folder
};
void PrintTo(const RefusedCase& row, std::ostream* out)
{
    *out << row.name;
}

class FolderRefusal : public FolderJobs, public ::testing::WithParamInterface<RefusedCase> { };

TEST_P(FolderRefusal, OneRefusedFileLetsTheRestThrough)
{
    std::string root = first.root();
    if (GetParam().vsftpd) {
        if (!SharedVsftpd())
            GTEST_SKIP() << "vsftpd cannot run here (it needs root)";
        AddVsftpd("one", *SharedVsftpd());
        root = SharedVsftpd()->root();
        fs::remove_all(root + "/tree");
    }
    fs::create_directories(root + "/tree/in");
    WriteFileBytes(root + "/tree/in/good", "good");
    WriteFileBytes(root + "/tree/other", "other");
    if (GetParam().vsftpd) {
        WriteFileBytes(root + "/tree/in/refused", "secret");
        fs::permissions(root + "/tree/in/refused", fs::perms::none);
    } else {
        // pyftpdlib runs as root here and reads anything, but never a file outside its folder.
        fs::create_symlink(local.file("outside"), root + "/tree/in/refused");
        WriteFileBytes(local.file("outside"), "outside");
    }
    interaction.markLibraryText = true;
    Run(Request(OperationKind::FolderDownload, "one", "/tree", local.file("got")));
    EXPECT_EQ(ReadFileBytes(local.file("got/in/good")), "good");
    EXPECT_EQ(ReadFileBytes(local.file("got/other")), "other");
    const std::vector<std::string> messages = interaction.Of("message");
    ASSERT_EQ(messages.size(), 1u) << Snapshot(local.file("got")).size() << ftpUi.Last();
    // The library's reason, in the user's language.
    EXPECT_NE(messages[0].find(local.file("got/in/refused") + ": ["), std::string::npos) << messages[0];
    EXPECT_TRUE(ftpUi.Messages().empty()) << "no box per file";
    EXPECT_EQ(Progress()->failedFiles, 1u);
    EXPECT_EQ(Progress()->doneFiles, 2u);
    if (GetParam().vsftpd)
        fs::remove_all(root + "/tree");
}

INSTANTIATE_TEST_SUITE_P(Servers, FolderRefusal,
                         ::testing::Values(RefusedCase{"LinkOutside", false}, RefusedCase{"Unreadable", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FolderJobs, ANameThatClimbsOutIsRefused)
{
    SetParallel(1);
    tarvo::test::ScriptedServer server;
    const std::string listing = "-rw-r--r-- 1 u g 5 Jan 01 2020 ../x\r\n-rw-r--r-- 1 u g 2 Jan 01 2020 good\r\n";
    server.Send("220 hi\r\n").LogIn().Expect("PASV").SendPasv().Expect("LIST /d").Send("150 go\r\n");
    server.DataSend(listing).Send("226 done\r\n");
    server.Expect("PASV").SendPasv().Expect("LIST /d/good").Send("150 go\r\n");
    server.DataSend("-rw-r--r-- 1 u g 2 Jan 01 2020 good\r\n").Send("226 done\r\n");
    server.Expect("TYPE I").Send("200 ok\r\n").Expect("PASV").SendPasv().Expect("RETR /d/good");
    server.Send("150 go\r\n").DataSend("hi").Send("226 done\r\n").Expect("QUIT").Send("221 bye\r\n");
    server.Start();
    AddServer("scripted", server.port(), PyFtpd::kPassword, 1);
    ServerMap["scripted"].encryption = static_cast<int>(QorFtpEncryption::PlainOnly);
    Run(Request(OperationKind::FolderDownload, "scripted", "/d", local.file("in/d")));
    EXPECT_TRUE(server.WaitDone(5000));
    EXPECT_TRUE(server.Mismatches().empty()) << server.Mismatches().front();
    EXPECT_EQ(ReadFileBytes(local.file("in/d/good")), "hi");
    EXPECT_FALSE(fs::exists(local.file("in/x")));
    const std::vector<std::string> messages = interaction.Of("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("/d/../x: This name cannot be used"), std::string::npos) << messages[0];
}

struct LimitCase {
    const char* name;
    bool vsftpd;
};
void PrintTo(const LimitCase& row, std::ostream* out)
{
    *out << row.name;
}

class FolderLimit : public FolderJobs, public ::testing::WithParamInterface<LimitCase> { };

TEST_P(FolderLimit, OneSessionAllowedStillCompletes)
{
    std::string whyNot;
    std::unique_ptr<Vsftpd> vsftpd;
    std::unique_ptr<PyFtpd> pyftpd;
    std::string root;
    if (GetParam().vsftpd) {
        if (!Vsftpd::Available(whyNot))
            GTEST_SKIP() << whyNot;
        vsftpd = std::make_unique<Vsftpd>(VsftpdOptions{.maxClients = 1});
        AddVsftpd("limited", *vsftpd);
        root = vsftpd->root();
    } else {
        pyftpd = std::make_unique<PyFtpd>(PyFtpdOptions{.maxConnectionsPerIp = 1});
        AddServer("limited", pyftpd->port(), PyFtpd::kPassword, 1);
        root = pyftpd->root();
    }
    SetParallel(3);
    // The job holds a transfer's place and waits for its workers, which must not wait for one.
    ProgramExecutor().SetTransferLimit(1);
    MakeTree(root + "/tree", false);
    Run(Request(OperationKind::FolderDownload, "limited", "/tree", local.file("got")));
    ProgramExecutor().SetTransferLimit(0);
    EXPECT_EQ(Snapshot(local.file("got")), Snapshot(root + "/tree"));
    EXPECT_TRUE(interaction.asked.empty()) << "refused extra logins are no failure";
    EXPECT_EQ(connections, 3) << "the extra ones were tried";
}

INSTANTIATE_TEST_SUITE_P(Servers, FolderLimit, ::testing::Values(LimitCase{"PyFtpd", false}, LimitCase{"Vsftpd", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FolderJobs, LocalLinksAreCopiedAsWhatTheyPointTo)
{
    MakeTree(local.file("tree"), false);
    fs::create_symlink("../a.bin", local.file("tree/sub dir/link to a"));
    fs::create_symlink("..", local.file("tree/sub dir/up")); // a folder already being copied
    fs::create_symlink("self", local.file("tree/self")); // a loop
    // Names no server command can carry, more than the message lists.
    fs::create_directory(local.file("tree/zz"));
    for (int i = 0; i < 51; ++i)
        WriteFileBytes(local.file("tree/zz/line\nbreak" + std::to_string(i)), "x");
    Run(Request(OperationKind::FolderUpload, "", local.file("tree"), "", "one", "/up"));
    EXPECT_EQ(ReadFileBytes(first.root() + "/up/sub dir/link to a"), ReadFileBytes(local.file("tree/a.bin")));
    EXPECT_FALSE(fs::exists(first.root() + "/up/sub dir/up"));
    const std::vector<std::string> messages = interaction.Of("message");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(local.file("tree/self") + ": This symbolic link leads round in a loop."),
              std::string::npos)
        << messages[0];
    EXPECT_NE(messages[0].find(local.file("tree/sub dir/up")
                               + ": This symbolic link leads to a folder that is already being copied."),
              std::string::npos)
        << messages[0];
    EXPECT_EQ(messages[0].rfind("\nand 3 more"), messages[0].size() - 11) << messages[0];
    EXPECT_EQ(Progress()->doneFiles, 5u);
    EXPECT_EQ(Progress()->failedFiles, 53u);
}

// As the program's own library interface does: certificate questions go to the interaction.
class AskingUi : public RecordingUi {
public:
    bool AskTrustCertificate(const QorFtpCertificate& certificate) override
    {
        return GetInteraction().AskTrustCertificate(certificate);
    }
};

// pyftpdlib has no SSCN: each file passes through a temporary file here. The certificate is
// asked about once per server, not once per connection.
TEST_F(FolderJobs, EncryptedServersCopyThroughHereAskingOncePerServer)
{
    TestCertificates certificates;
    PyFtpd a{PyFtpdOptions{.tlsCertificate = certificates.server("selfsigned")}};
    PyFtpd b{PyFtpdOptions{.tlsCertificate = certificates.server("selfsigned")}};
    for (const auto& [name, server] : {std::pair<std::string, PyFtpd*>{"ea", &a}, {"eb", &b}}) {
        ServerRecord record{name, "127.0.0.1", PyFtpd::kUser, PyFtpd::kPassword, "", int(server->port()), 1, ""};
        record.encryption = static_cast<int>(QorFtpEncryption::RequireExplicit);
        ASSERT_TRUE(SaveNewServer(record));
    }
    AskingUi asking;
    QorFtpSetUi(&asking);
    TempDir temp;
    const QByteArray previousTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QByteArray::fromStdString(temp.path()));
    MakeTree(a.root() + "/tree", false);
    interaction.trustAnswers = {true, true};
    Run(Request(OperationKind::FolderTransfer, "ea", "/tree", "", "eb", "/copy"));
    qputenv("TMPDIR", previousTemp);
    QorFtpSetUi(&ftpUi);
    EXPECT_EQ(Snapshot(b.root() + "/copy"), Snapshot(a.root() + "/tree"));
    EXPECT_EQ(interaction.Of("certificate").size(), 2u);
    EXPECT_EQ(connections, 4);
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

TEST_F(FolderJobs, ACopyIntoItselfIsRefused)
{
    MakeTree(first.root() + "/tree", false);
    const auto before = Snapshot(first.root());
    Run(Request(OperationKind::FolderTransfer, "one", "/tree", "", "one", "/tree/sub dir/copy"));
    EXPECT_EQ(interaction.Of("message"),
              (std::vector<std::string>{"The folder '/tree' cannot be copied into '/tree/sub dir/copy': that is the "
                                        "folder itself or a folder inside it."}));
    EXPECT_EQ(Snapshot(first.root()), before);
    EXPECT_EQ(connections, 0);
    EXPECT_TRUE(IsSameOrInside("/a/b", "/a/"));
    EXPECT_FALSE(IsSameOrInside("/ab", "/a"));
}

TEST_F(FolderJobs, ExistingTargetsAskedOnceForAll)
{
    MakeTree(first.root() + "/tree", false);
    fs::create_directories(local.file("got/sub dir"));
    WriteFileBytes(local.file("got/a.bin"), "old");
    WriteFileBytes(local.file("got/sub dir/Grüße ä.txt"), "old");
    OverwriteAnswer all{OverwriteAnswer::Overwrite, {}, true};
    interaction.overwrite = {all};
    Run(Request(OperationKind::FolderDownload, "one", "/tree", local.file("got")));
    EXPECT_EQ(interaction.Of("overwrite").size(), 1u);
    EXPECT_EQ(Snapshot(local.file("got")), Snapshot(first.root() + "/tree"));

    // Cancel in the question ends the job: nothing more is written.
    WriteFileBytes(local.file("got/a.bin"), "old");
    fs::remove(local.file("got/zero"));
    interaction.overwrite = {OverwriteAnswer{}};
    Run(Request(OperationKind::FolderDownload, "one", "/tree", local.file("got")));
    EXPECT_EQ(ReadFileBytes(local.file("got/a.bin")), "old");
    EXPECT_FALSE(fs::exists(local.file("got/zero")));
}

TEST_F(FolderJobs, DeleteAsksFirst)
{
    MakeTree(first.root() + "/tree", false);
    const auto before = Snapshot(first.root());
    const std::string question = "Delete the folder '/tree' and everything in it (4 file(s) and 3 folder(s))?";
    interaction.yesNo = {false};
    Run(Request(OperationKind::FolderDelete, "one", "/tree"));
    EXPECT_EQ(Snapshot(first.root()), before);
    interaction.yesNo = {true};
    Run(Request(OperationKind::FolderDelete, "one", "/tree"));
    EXPECT_EQ(interaction.Of("yesno"), (std::vector<std::string>{question, question}));
    EXPECT_FALSE(fs::exists(first.root() + "/tree"));
    EXPECT_TRUE(interaction.Of("message").empty()) << interaction.Of("message").front();
}

TEST_F(FolderJobs, ScriptsGetAndPutFoldersWithoutAsking)
{
    MakeTree(first.root() + "/tree", false);
    fs::create_directories(local.file("got"));
    WriteFileBytes(local.file("got/a.bin"), "old");
    QorFtpConnection connection;
    const auto step = [&](int kind, std::string file, std::string localPath, std::string targetFile = {}) {
        OperationRequest request = Request(kind, kind == OperationKind::Upload ? "" : "one", file, localPath,
                                           kind == OperationKind::Upload ? "one" : "", targetFile);
        return RunScriptStep(request, connection);
    };
    ASSERT_EQ(step(OperationKind::ScriptOpen, "", ""), 1);
    // Relative to the login's folder, as files are.
    EXPECT_EQ(step(OperationKind::Download, "tree", local.file("got")), 1);
    EXPECT_EQ(Snapshot(local.file("got")), Snapshot(first.root() + "/tree"));
    EXPECT_EQ(step(OperationKind::Upload, local.file("got"), "", "/back"), 1);
    EXPECT_EQ(Snapshot(first.root() + "/back"), Snapshot(first.root() + "/tree"));
    // A file is still a file.
    EXPECT_EQ(step(OperationKind::Download, "/tree/a.bin", local.file("a.bin")), 1);
    EXPECT_EQ(ReadFileBytes(local.file("a.bin")), ReadFileBytes(first.root() + "/tree/a.bin"));
    step(OperationKind::ScriptClose, "", "");
    EXPECT_TRUE(interaction.asked.empty());
}

} // namespace
