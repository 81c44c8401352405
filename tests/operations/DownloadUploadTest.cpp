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

    PyFtpd server;
    const std::string content = RandomBytes(700'000, 3);
};

TEST_F(DownloadUpload, EachAnswerOnAnExistingTarget)
{
    const std::string prefix = content.substr(0, 123'457);
    std::string tampered = prefix;
    tampered[0] ^= 0x55;
    const struct {
        const char* name;
        bool upload;
        int answer;
        std::string before, after;
    } rows[] = {
        // Resumed at the target's size: the bytes there stay as they were.
        {"recover", false, OverwriteAnswer::Recover, tampered, tampered + content.substr(prefix.size())},
        {"append", false, OverwriteAnswer::Append, "old", "old" + content},
        {"overwrite", false, OverwriteAnswer::Overwrite, std::string(900'000, 'x'), content},
        {"recover up", true, OverwriteAnswer::Recover, tampered, tampered + content.substr(prefix.size())},
        {"append up", true, OverwriteAnswer::Append, "old", "old" + content},
        {"overwrite up", true, OverwriteAnswer::Overwrite, std::string(900'000, 'x'), content},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string name = std::string("/") + row.name + ".bin";
        const std::string target = (row.upload ? server.root() : local.path()) + name;
        WriteFileBytes(target, row.before);
        interaction.overwrite = {{row.answer, ""}};
        Run(row.upload ? UploadTo(name) : DownloadTo(target));
        EXPECT_EQ(ReadFileBytes(target), row.after);
        EXPECT_EQ(interaction.asked.back(), (Asked{"overwrite", row.upload ? name : target}));
    }
    EXPECT_TRUE(ftpUi.Messages().empty());
    ASSERT_EQ(host.counts.size(), 12u);
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
    for (const bool upload : {false, true}) {
        SCOPED_TRACE(upload ? "upload" : "download");
        const std::string folder = upload ? server.root() : local.path(), shown = upload ? "" : local.path();
        WriteFileBytes(folder + "/a.bin", "a");
        WriteFileBytes(folder + "/b.bin", "b");
        interaction.asked.clear();
        interaction.overwrite = {{OverwriteAnswer::Overwrite, "b.bin"}, {OverwriteAnswer::Overwrite, "c.bin"}};
        Run(upload ? UploadTo("/a.bin") : DownloadTo(local.file("a.bin")));
        EXPECT_EQ(interaction.asked,
                  (std::vector<Asked>{{"overwrite", shown + "/a.bin"}, {"overwrite", shown + "/b.bin"}}));
        EXPECT_EQ(ReadFileBytes(folder + "/a.bin") + ReadFileBytes(folder + "/b.bin")
                      + ReadFileBytes(folder + "/c.bin"),
                  "ab" + content);
    }
    Run(UploadTo("/fresh.bin"));
    EXPECT_EQ(interaction.asked.size(), 2u) << "a free target is not asked about";
    EXPECT_EQ(ReadFileBytes(server.root() + "/fresh.bin"), content);
    EXPECT_TRUE(ftpUi.Messages().empty()) << "looking for a missing target is no failure";
    EXPECT_EQ(host.Row(2), "Uploading " + local.file("up.bin") + " | Uploading " + local.file("up.bin") + " to srv");

    EXPECT_EQ(ApplyRenamingRule("/pub/a.txt", "b.txt"), "/pub/b.txt");
    EXPECT_EQ(ApplyRenamingRule("c:\\dir\\a.txt", "b.txt"), "c:\\dir\\b.txt");
    EXPECT_EQ(ApplyRenamingRule("a.txt", "b.txt"), "b.txt");
}

TEST_F(DownloadUpload, ACancelWhileTheDialogIsOpenConnectsNothing)
{
    WriteFileBytes(local.file("keep.bin"), "mine");
    // The cancel comes while the dialog is open; the answer given as it closes does not count.
    interaction.whileAsking
        = [] { EXPECT_TRUE(OperationStatusList.Cancel(OperationStatusList.Snapshot().at(0).operationId)); };
    interaction.overwrite = {{OverwriteAnswer::Overwrite, ""}};
    Run(DownloadTo(local.file("keep.bin")));
    EXPECT_EQ(ReadFileBytes(local.file("keep.bin")), "mine");
    EXPECT_EQ(connections.load(), 0);
    EXPECT_EQ(OperationStatusList.Count(), 0u);
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

// A data connection that dies mid-file fails the download and keeps what arrived; the user's
// Recover then resumes at that size (REST), and the file ends byte-equal, never started over.
TEST_F(OperationsTest, ADownloadCutMidFileFailsThenResumes)
{
    PyFtpd cutting(PyFtpdOptions{.cutFirstDownloadAfter = 300'000});
    AddServer("cut", cutting.port());
    const std::string content = RandomBytes(1'000'000, 7);
    WriteFileBytes(cutting.root() + "/big.bin", content);
    const std::string target = local.file("big.bin");

    Run(Request(OperationKind::Download, "cut", "/big.bin", target));
    ASSERT_EQ(ftpUi.Messages().size(), 1u) << "the cut is reported, not taken for the whole file";
    EXPECT_TRUE(ReadFileBytes(target) == content.substr(0, 300'000)) << "what arrived is kept";

    interaction.overwrite = {{OverwriteAnswer::Recover, ""}};
    Run(Request(OperationKind::Download, "cut", "/big.bin", target));
    const std::string resumed = ReadFileBytes(target);
    EXPECT_EQ(resumed.size(), content.size());
    EXPECT_TRUE(resumed == content);
    EXPECT_EQ(ftpUi.Messages().size(), 1u);
}
