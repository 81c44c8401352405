// Script mode: one shared connection, nothing asked, existing targets replaced, and the steps
// after a failed open skipped.
#include "OperationsFixture.h"

#include "PyFtpd.h"

#include <filesystem>
#include <sys/stat.h>

using namespace optest;
using namespace tarvo::test;

namespace {

class ScriptMode : public OperationsTest {};

TEST_F(ScriptMode, EveryKindRunsOverOneConnectionWithoutAsking)
{
    PyFtpd first, second;
    AddServer("one", first.port(), PyFtpd::kUser, PyFtpd::kPassword);
    AddServer("two", second.port(), PyFtpd::kUser, PyFtpd::kPassword);
    const std::string content = RandomBytes(100'000, 4);
    WriteFileBytes(first.root() + "/a.bin", content);
    WriteFileBytes(local.file("a.bin"), "an existing file is replaced");
    WriteFileBytes(local.file("up"), "up");
    WriteFileBytes(second.root() + "/twice.bin", "");
    OperationRequest chmod = Request(OperationKind::ChangeMode, "one", "/a.bin");
    chmod.fileMode = "604";
    const std::vector<OperationRequest> steps = {
        Request(OperationKind::ScriptOpen, "one", ""),
        Request(OperationKind::Download, "one", "/a.bin", local.file("a.bin")),
        Request(OperationKind::Upload, "", local.file("up"), "", "one", "/up"),
        Request(OperationKind::UploadAppend, "", local.file("up"), "", "one", "/up"),
        Request(OperationKind::DownloadAppend, "one", "/up", "", "", local.file("a.bin")),
        Request(OperationKind::Transfer, "one", "/a.bin", "", "two", "/copy.bin"),
        Request(OperationKind::AppendTransfer, "one", "/a.bin", "", "two", "/twice.bin"),
        Request(OperationKind::AppendTransfer, "one", "/a.bin", "", "two", "/twice.bin"),
        chmod,
        Request(OperationKind::Delete, "one", "/up"),
        Request(OperationKind::ScriptClose, "one", ""),
    };
    ScriptStepList.Replace(steps);

    const std::uint32_t id = RunScript();
    ASSERT_TRUE(WaitForOperations(std::chrono::seconds(60)));
    EXPECT_EQ(RunningScriptCount(), 0);
    EXPECT_EQ(ReadFileBytes(local.file("a.bin")), content + "upup");
    EXPECT_EQ(ReadFileBytes(second.root() + "/copy.bin"), content);
    EXPECT_EQ(ReadFileBytes(second.root() + "/twice.bin"), content + content);
    struct stat info {};
    ASSERT_EQ(::stat((first.root() + "/a.bin").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0604u);
    EXPECT_FALSE(std::filesystem::exists(first.root() + "/up"));
    EXPECT_TRUE(interaction.asked.empty());
    EXPECT_EQ(ScriptLoggedIn.load(), 0);
    ASSERT_EQ(host.counts.size(), 2u);
    EXPECT_TRUE(host.counts[0].started && host.counts[0].id == id && !host.counts[0].row);
    EXPECT_EQ(ScriptStepList.Count(), steps.size()) << "the steps stay for another run";
}

TEST_F(ScriptMode, StepsAfterAFailedOpenAreSkipped)
{
    PyFtpd server;
    AddServer("one", server.port(), PyFtpd::kUser, "wrong");
    WriteFileBytes(server.root() + "/a.bin", "a");
    QorFtpConnection connection;
    const auto get = Request(OperationKind::Download, "one", "/a.bin", local.file("a.bin"));
    EXPECT_EQ(RunScriptStep(Request(OperationKind::ScriptOpen, "one", ""), connection), 0);
    EXPECT_EQ(RunScriptStep(get, connection), 0);
    EXPECT_FALSE(std::filesystem::exists(local.file("a.bin")));
    EXPECT_EQ(RunScriptStep(Request(OperationKind::Download, "unknown", "/a.bin", local.file("a.bin")), connection), 0);
    EXPECT_EQ(interaction.asked, (std::vector<Asked>{{"message", "Error getting the user information  for 'unknown' ."}}));

    // After a close, an open that succeeds lets the steps run again.
    EXPECT_EQ(RunScriptStep(Request(OperationKind::ScriptClose, "one", ""), connection), 1);
    ServerMap["one"].password = PyFtpd::kPassword;
    EXPECT_EQ(RunScriptStep(Request(OperationKind::ScriptOpen, "one", ""), connection), 1);
    EXPECT_EQ(RunScriptStep(get, connection), 1);
    EXPECT_EQ(ReadFileBytes(local.file("a.bin")), "a");
    connection.Close();
}

} // namespace
