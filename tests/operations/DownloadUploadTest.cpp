// Download and upload against pyftpdlib: every answer of the overwrite dialog, the renaming rule,
// a cancel from the operations window, View, and the rows the main window shows.
#include "OperationsFixture.h"

#include "operations/OverwriteLoop.h"

using namespace optest;

namespace {

class DownloadUpload : public OperationsTest {
protected:
    void SetUp() override
    {
        OperationsTest::SetUp();
        AddServer("srv", server.port());
        WriteFileBytes(server.root() + "/file.bin", content);
        WriteFileBytes(local.file("up.bin"), content);
    }
    OperationRequest DownloadTo(const std::string& path, int kind = OperationKind::Download)
    {
        return Request(kind, "srv", "/file.bin", path);
    }
    OperationRequest UploadTo(const std::string& remote)
    {
        return Request(OperationKind::Upload, "", local.file("up.bin"), "", "srv", remote);
    }
    std::string Remote(const std::string& name) { return ReadFileBytes(server.root() + "/" + name); }

    PyFtpd server;
    const std::string content = RandomBytes(700'000, 3);
};

TEST_F(DownloadUpload, EachAnswerOnALocalTarget)
{
    const std::string prefix = content.substr(0, 123'457);
    std::string tampered = prefix;
    tampered[0] ^= 0x55;
    const struct {
        const char* name;
        int answer;
        std::string before, after;
    } rows[] = {
        {"recover", OverwriteAnswer::Recover, prefix, content},
        // Resumed at the local size: the local bytes stay as they were.
        {"recover keeps", OverwriteAnswer::Recover, tampered, tampered + content.substr(prefix.size())},
        {"append", OverwriteAnswer::Append, "old", "old" + content},
        {"overwrite", OverwriteAnswer::Overwrite, std::string(900'000, 'x'), content},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string target = local.file(std::string(row.name) + ".bin");
        WriteFileBytes(target, row.before);
        interaction.overwrite = {{row.answer, ""}};
        Run(DownloadTo(target));
        EXPECT_EQ(ReadFileBytes(target), row.after);
        EXPECT_EQ(interaction.asked.back(), (Asked{"overwrite", target}));
    }
    EXPECT_TRUE(ftpUi.messages.empty());
    ASSERT_EQ(host.counts.size(), 8u);
    EXPECT_TRUE(host.counts[0].started && host.counts[0].id != 0);
    EXPECT_EQ(host.Row(0), "Downloading /file.bin | Downloading /file.bin from srv");
    EXPECT_TRUE(!host.counts[1].started && host.counts[1].id == host.counts[0].id && !host.counts[1].row);
    EXPECT_NE(host.counts[2].id, host.counts[0].id);
    EXPECT_EQ(PendingRequestList.Count(), 0u) << "a request nobody retries does not wait for exit";
}

TEST_F(DownloadUpload, RecoverTakesA64BitLocalSize)
{
    const std::string big = local.file("big.iso");
    WriteFileBytes(big, "");
    std::filesystem::resize_file(big, 5ull << 30); // sparse: nothing is written
    interaction.overwrite = {{OverwriteAnswer::Recover, ""}};
    const TargetChoice choice = ChooseLocalTarget(big, std::make_shared<std::atomic<bool>>(false));
    EXPECT_TRUE(choice.proceed);
    EXPECT_EQ(choice.offset, 5ull << 30);
}

TEST_F(DownloadUpload, RenameAsksAgainUntilTheNameIsFree)
{
    WriteFileBytes(local.file("a.bin"), "a");
    WriteFileBytes(local.file("b.bin"), "b");
    interaction.overwrite = {{OverwriteAnswer::Overwrite, "b.bin"}, {OverwriteAnswer::Overwrite, "c.bin"}};
    Run(DownloadTo(local.file("a.bin")));
    EXPECT_EQ(interaction.asked, (std::vector<Asked>{{"overwrite", local.file("a.bin")}, {"overwrite", local.file("b.bin")}}));
    EXPECT_EQ(ReadFileBytes(local.file("a.bin")) + ReadFileBytes(local.file("b.bin")), "ab");
    EXPECT_EQ(ReadFileBytes(local.file("c.bin")), content);

    EXPECT_EQ(ApplyRenamingRule("/pub/a.txt", "b.txt"), "/pub/b.txt");
    EXPECT_EQ(ApplyRenamingRule("c:\\dir\\a.txt", "b.txt"), "c:\\dir\\b.txt");
    EXPECT_EQ(ApplyRenamingRule("a.txt", "b.txt"), "b.txt");
}

TEST_F(DownloadUpload, ACancelWhileTheDialogIsOpenConnectsNothing)
{
    CountConnections();
    WriteFileBytes(local.file("keep.bin"), "mine");
    interaction.waitForCancel = true;
    std::uint32_t id = 0;
    StartOperation(DownloadTo(local.file("keep.bin")), &id);
    interaction.WaitUntilAsking();
    EXPECT_TRUE(OperationStatusList.Cancel(id));
    ASSERT_TRUE(WaitForOperations(std::chrono::seconds(30)));
    EXPECT_EQ(ReadFileBytes(local.file("keep.bin")), "mine");
    EXPECT_EQ(connections.load(), 0);
    EXPECT_EQ(OperationStatusList.Count(), 0u);
}

TEST_F(DownloadUpload, EachAnswerOnARemoteTarget)
{
    std::string remotePart = content.substr(0, 200'001);
    remotePart[5] ^= 0x11;
    WriteFileBytes(server.root() + "/part.bin", remotePart);
    interaction.overwrite = {{OverwriteAnswer::Recover, ""}};
    Run(UploadTo("/part.bin"));
    EXPECT_EQ(interaction.asked, (std::vector<Asked>{{"overwrite", "/part.bin"}}));
    EXPECT_EQ(Remote("part.bin"), remotePart + content.substr(remotePart.size())) << "resumed at the remote size";

    WriteFileBytes(server.root() + "/old.bin", "old");
    interaction.overwrite = {{OverwriteAnswer::Append, ""}};
    Run(UploadTo("/old.bin"));
    EXPECT_EQ(Remote("old.bin"), "old" + content);
    interaction.overwrite = {{OverwriteAnswer::Overwrite, "part.bin"}, {OverwriteAnswer::Overwrite, "new.bin"}};
    Run(UploadTo("/old.bin"));
    EXPECT_EQ(Remote("new.bin"), content);

    const std::size_t asked = interaction.asked.size();
    Run(UploadTo("/fresh.bin"));
    EXPECT_EQ(interaction.asked.size(), asked) << "a free target is not asked about";
    EXPECT_EQ(Remote("fresh.bin"), content);
    EXPECT_TRUE(ftpUi.messages.empty()) << "looking for a missing target is no failure";
    EXPECT_EQ(host.Row(0), "Uploading " + local.file("up.bin") + " | Uploading " + local.file("up.bin") + " to srv");
}

TEST_F(DownloadUpload, ViewOpensTheFileWritten)
{
    Run(DownloadTo(local.file("shown.bin"), OperationKind::View));
    interaction.overwrite = {{OverwriteAnswer::Overwrite, "other.bin"}};
    Run(DownloadTo(local.file("shown.bin"), OperationKind::View));
    EXPECT_EQ(ReadFileBytes(local.file("other.bin")), content);
    EXPECT_EQ(host.opened, (std::vector<std::string>{local.path() + "/|shown.bin", local.path() + "/|other.bin"}));
}

} // namespace
