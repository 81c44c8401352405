// The same-connection retry against servers at their connection limit: the 421 questions, the
// run over the browsing connection as a job that holds its busy flag, and a transfer through a
// temporary file. The test's thread plays the user-interface thread.
#include "OperationsFixture.h"

#include "ScriptedServer.h"

#include "operations/OperationTexts.h"
#include "operations/SameConnectionRetry.h"

#include <QCoreApplication>
#include <QDir>

using namespace optest;
using tarvo::test::ScriptedServer;

namespace {

QStringList TemporaryTransferFiles()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("ftp*.TMP")}, QDir::Files);
}

class SameConnection : public OperationsTest {
protected:
    // The retry comes back to the user-interface thread through its event queue.
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "OperationsTests";
        static char* argv[] = {name, nullptr};
        application = new QCoreApplication(argc, argv);
    }
    static void TearDownTestSuite()
    {
        delete application;
        application = nullptr;
    }

    void SetUp() override
    {
        OperationsTest::SetUp();
        AddServer("full", limited.port());
        AddServer("target", target.port());
        WriteFileBytes(limited.root() + "/f.bin", content);
        ASSERT_EQ(LoginWith(browsingConnection, ServerMap["full"]), 1);
        browsing.entries["full"] = {&browsingConnection, 0};
    }

    // The worker meets 421, the user answers Yes, and the worker posts the retry.
    std::uint32_t RunInto421(const OperationRequest& request, const char* question)
    {
        interaction.yesNo = {true};
        const std::uint32_t id = Run(request);
        EXPECT_EQ(interaction.asked.back(), (Asked{"yesno", FillInsert(question, request.file)}));
        EXPECT_EQ(host.retries, (std::vector<std::pair<unsigned long, std::uint32_t>>{{421, id}}));
        EXPECT_EQ(PendingRequestList.Count(), 1u);
        return id;
    }

    // Runs the user-interface thread's events until the retry's job, and the upload a transfer
    // starts back on that thread, have ended.
    static void WaitForRetry()
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
        while (!WaitForOperations(std::chrono::milliseconds(10)) && std::chrono::steady_clock::now() < deadline)
            QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        ASSERT_TRUE(WaitForOperations(std::chrono::seconds(120)));
    }

    static inline QCoreApplication* application = nullptr;

    PyFtpd limited{PyFtpdOptions{.maxConnectionsPerIp = 1}};
    PyFtpd target;
    const std::string content = RandomBytes(400'000, 21);
    QorFtpConnection browsingConnection;
};

TEST_F(SameConnection, ADownloadAt421RunsOverTheBrowsingConnection)
{
    const auto request = Request(OperationKind::Download, "full", "/f.bin", local.file("f.bin"));
    const std::uint32_t id = RunInto421(request, OperationText::kAskDownloadSameConnection);
    EXPECT_FALSE(std::filesystem::exists(local.file("f.bin")));

    RetrySameConnectionReceived(421, id);
    WaitForRetry();
    EXPECT_EQ(ReadFileBytes(local.file("f.bin")), content);
    EXPECT_EQ(PendingRequestList.Count(), 0u);
    EXPECT_EQ(browsing.busyCalls, (std::vector<std::string>{"full=1", "full=0"}));
    ASSERT_EQ(host.counts.size(), 4u);
    const auto& start = host.counts[2];
    EXPECT_TRUE(start.started && start.id != id);
    EXPECT_EQ(host.Row(2), "Downloading f.bin | Downloading 'f.bin' from full");
    EXPECT_TRUE(!host.counts[3].started && host.counts[3].id == start.id);
    EXPECT_EQ(OperationStatusList.Count(), 0u);
    EXPECT_NE(browsingConnection.GetSocket(), nullptr) << "the browsing connection stays open";
}

// A folder job whose first login meets 421 is offered the browsing connection too, and then runs
// over it alone, its row carrying the job's progress.
TEST_F(SameConnection, AFolderJobAt421RunsOverTheBrowsingConnection)
{
    std::filesystem::create_directories(limited.root() + "/tree/sub");
    WriteFileBytes(limited.root() + "/tree/sub/g.bin", content);
    WriteFileBytes(limited.root() + "/tree/h", "h");
    interaction.yesNo = {true};
    const std::uint32_t id = Run(Request(OperationKind::FolderDownload, "full", "/tree", local.file("tree")));
    EXPECT_EQ(interaction.Of("yesno"),
              (std::vector<std::string>{"The server refused another connection. Do you want "
                                        "to try '/tree'\nby using the same connection?\n(See "
                                        "help.)"}));
    EXPECT_EQ(host.retries, (std::vector<std::pair<unsigned long, std::uint32_t>>{{421, id}}));
    EXPECT_FALSE(std::filesystem::exists(local.file("tree")));

    RetrySameConnectionReceived(421, id);
    WaitForRetry();
    EXPECT_EQ(ReadFileBytes(local.file("tree/sub/g.bin")), content);
    EXPECT_EQ(ReadFileBytes(local.file("tree/h")), "h");
    EXPECT_EQ(browsing.busyCalls, (std::vector<std::string>{"full=1", "full=0"}));
    ASSERT_EQ(host.counts.size(), 4u);
    EXPECT_EQ(host.Row(2), "Downloading folder /tree | Downloading folder /tree from full");
    ASSERT_TRUE(host.counts[2].row->progress);
    EXPECT_EQ(host.counts[2].row->progress->doneFiles, 2u);
    EXPECT_EQ(connections, 1) << "only the refused login";
    EXPECT_NE(browsingConnection.GetSocket(), nullptr) << "the browsing connection stays open";
}

// The server holds the data back, so the transfer is known to run while the test goes on: the
// call has returned at once, and the connection stays busy (a second retry on it is refused)
// until the job ends.
TEST_F(SameConnection, TheTransferRunsAsAJobThatHoldsTheBusyFlag)
{
    constexpr int kDataHeldBackMs = 2000;
    ScriptedServer slow;
    slow.Send("220 hi\r\n").LogIn().Expect("PASV").SendPasv().Expect("LIST").Send("550 no listing\r\n");
    slow.Expect("TYPE I").Send("200 ok\r\n").Expect("PASV").SendPasv();
    slow.Expect("RETR /f.bin").Send("150 go\r\n").Wait(kDataHeldBackMs).DataSend(content).Send("226 done\r\n");
    slow.Start();
    QorFtpConnection slowConnection;
    slowConnection.SetPassive(1);
    slowConnection.SetTimeout(30);
    ASSERT_EQ(slowConnection.Login("127.0.0.1", "ann", "pw", slow.port(), ""), 1);
    browsing.entries["slow"] = {&slowConnection, 0};

    auto download = Request(OperationKind::Download, "slow", "/f.bin", local.file("f.bin"));
    for (std::uint32_t id : {91u, 92u}) {
        download.operationId = id;
        PendingRequestList.Append(download);
    }
    RetrySameConnectionReceived(421, 91);
    ASSERT_EQ(browsing.IsConnectionBusy("slow"), 1) << "the call waited for the transfer";
    EXPECT_FALSE(slow.WaitDone(0));
    EXPECT_EQ(OperationStatusList.Count(), 1u);
    RetrySameConnectionReceived(421, 92);
    EXPECT_EQ(interaction.asked, (std::vector<Asked>{{"message", OperationText::kConnectionBusy}}));
    EXPECT_EQ(PendingRequestList.Count(), 0u);

    WaitForRetry();
    EXPECT_TRUE(slow.WaitDone(5000));
    EXPECT_EQ(ReadFileBytes(local.file("f.bin")), content);
    EXPECT_EQ(browsing.busyCalls, (std::vector<std::string>{"slow=1", "slow=0"}));
    EXPECT_EQ(browsing.IsConnectionBusy("slow"), 0);
    ASSERT_EQ(host.counts.size(), 2u);
    EXPECT_FALSE(host.counts[1].started);
    EXPECT_EQ(OperationStatusList.Count(), 0u);
}

TEST_F(SameConnection, AnUploadAt421AskedAgainAboutTheTarget)
{
    WriteFileBytes(local.file("up.bin"), content);
    const auto request = Request(OperationKind::Upload, "", local.file("up.bin"), "", "full", "/f.bin");
    interaction.overwrite = {{OverwriteAnswer::Append, ""}};
    RetrySameConnectionReceived(421, RunInto421(request, OperationText::kAskUploadSameConnection));
    WaitForRetry();
    EXPECT_EQ(interaction.asked.back(), (Asked{"overwrite", "/f.bin"}));
    EXPECT_EQ(ReadFileBytes(limited.root() + "/f.bin"), content + content);
    EXPECT_EQ(host.Row(2), "Uploading up.bin | Uploading up.bin to full");

    interaction.yesNo = {false};
    Run(request);
    EXPECT_EQ(host.retries.size(), 1u) << "No posts nothing";
}

TEST_F(SameConnection, ABusyOrMissingConnectionRefusesTheRetry)
{
    auto download = Request(OperationKind::Download, "full", "/f.bin", local.file("f.bin"));
    download.operationId = 77;
    browsing.entries["full"].second = 1;
    for (const char* server : {"full", "not connected"}) {
        download.sourceServer = server;
        PendingRequestList.Append(download);
        RetrySameConnectionReceived(421, 77);
        EXPECT_EQ(interaction.asked.back(), (Asked{"message", OperationText::kConnectionBusy}));
        EXPECT_EQ(PendingRequestList.Count(), 0u) << "the request is not put back";
    }
    auto upload = Request(OperationKind::Upload, "", local.file("f.bin"), "", "full", "/g.bin");
    upload.operationId = 78;
    PendingRequestList.Append(upload);
    RetrySameConnectionReceived(421, 78);
    EXPECT_EQ(interaction.asked.size(), 2u) << "a busy foreground upload says nothing";
    PendingRequestList.Append(upload);
    RetrySameConnectionReceived(530, 78);
    EXPECT_EQ(PendingRequestList.Count(), 0u) << "another code only drops the request";
    EXPECT_TRUE(host.counts.empty());
    EXPECT_FALSE(std::filesystem::exists(local.file("f.bin")));
}

TEST_F(SameConnection, ATransferGoesThroughATemporaryFileAndABackgroundUpload)
{
    const QStringList before = TemporaryTransferFiles();
    const auto request = Request(OperationKind::Transfer, "full", "/f.bin", "", "target", "/copied.bin");
    RetrySameConnectionReceived(421, RunInto421(request, OperationText::kAskTransferSameConnection));
    WaitForRetry();
    EXPECT_EQ(ReadFileBytes(target.root() + "/copied.bin"), content);

    QStringList left = TemporaryTransferFiles();
    left.removeIf([&](const QString& name) { return before.contains(name); });
    ASSERT_EQ(left.size(), 1) << "the temporary file stays, as the question says";
    const std::string temporary = QDir(QDir::tempPath()).filePath(left[0]).toStdString();
    EXPECT_EQ(ReadFileBytes(temporary), content);
    ASSERT_EQ(host.counts.size(), 6u);
    EXPECT_EQ(host.Row(4), "Uploading " + temporary + " | Uploading " + temporary + " to target");
    std::filesystem::remove(temporary);
}

TEST_F(SameConnection, AFailedOrCancelledTransferDownloadIsNeverUploaded)
{
    // Every transfer asks to cancel at once, and the user answers Yes.
    RecordingUi cancelling;
    cancelling.withWindow = cancelling.answer = true;
    cancelling.onProgress = [](QorFtpProgress& progress) { progress.RequestCancel(); };
    const QStringList before = TemporaryTransferFiles();
    for (const char* file : {"/f.bin", "/missing.bin"}) {
        SCOPED_TRACE(file);
        browsingConnection.SetUi(std::string(file) == "/f.bin" ? &cancelling : nullptr);
        auto request = Request(OperationKind::Transfer, "full", file, "", "target", "/copied.bin");
        request.operationId = 90;
        PendingRequestList.Append(request);
        const std::size_t counts = host.counts.size();
        RunOnSameConnection(90);
        WaitForRetry();
        EXPECT_EQ(host.counts.size(), counts + 2) << "only the foreground download ran";
    }
    EXPECT_FALSE(std::filesystem::exists(target.root() + "/copied.bin"));
    EXPECT_EQ(TemporaryTransferFiles(), before) << "a partial temporary file is removed";
    browsingConnection.SetUi(nullptr);
}

} // namespace
