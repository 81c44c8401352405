// The same-connection retry against servers at their connection limit: the 421 questions, the
// run over the browsing connection, and a transfer through a temporary file.
#include "OperationsFixture.h"

#include "operations/OperationTexts.h"
#include "operations/SameConnectionRetry.h"

#include <QDir>

using namespace optest;

namespace {

QStringList TemporaryTransferFiles()
{
    return QDir(QDir::tempPath()).entryList({QStringLiteral("ftp*.TMP")}, QDir::Files);
}

class SameConnection : public OperationsTest {
protected:
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

    PyFtpd limited{[] {
        PyFtpdOptions oneClientOnly;
        oneClientOnly.maxConnectionsPerIp = 1;
        return oneClientOnly;
    }()};
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

TEST_F(SameConnection, AnUploadAt421AskedAgainAboutTheTarget)
{
    WriteFileBytes(local.file("up.bin"), content);
    const auto request = Request(OperationKind::Upload, "", local.file("up.bin"), "", "full", "/f.bin");
    interaction.overwrite = {{OverwriteAnswer::Append, ""}};
    RetrySameConnectionReceived(421, RunInto421(request, OperationText::kAskUploadSameConnection));
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
    ASSERT_TRUE(WaitForOperations(std::chrono::seconds(60)));
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
    RecordingFtpUi cancelling;
    cancelling.cancelTransfers = true;
    const QStringList before = TemporaryTransferFiles();
    for (const char* file : {"/f.bin", "/missing.bin"}) {
        SCOPED_TRACE(file);
        browsingConnection.SetUi(std::string(file) == "/f.bin" ? &cancelling : nullptr);
        auto request = Request(OperationKind::Transfer, "full", file, "", "target", "/copied.bin");
        request.operationId = 90;
        PendingRequestList.Append(request);
        const std::size_t counts = host.counts.size();
        EXPECT_EQ(RunOnSameConnection(90), 0);
        ASSERT_TRUE(WaitForOperations(std::chrono::seconds(30)));
        EXPECT_EQ(host.counts.size(), counts + 2) << "only the foreground download ran";
    }
    EXPECT_FALSE(std::filesystem::exists(target.root() + "/copied.bin"));
    EXPECT_EQ(TemporaryTransferFiles(), before) << "a partial temporary file is removed";
    browsingConnection.SetUi(nullptr);
}

} // namespace
