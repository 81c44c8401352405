// Transfer between two servers, the appending kinds, change-mode, delete, the kinds that do
// nothing, unknown servers, the order of a status row and its connection, and a script run by its
// worker over one shared connection. Every step kind of a script runs end to end in
// tests/scripts/HeadlessRunTest.cpp.
#include "OperationsFixture.h"

#include "operations/OperationTexts.h"

using namespace optest;

namespace {

class ServerOperations : public OperationsTest {
protected:
    void SetUp() override
    {
        OperationsTest::SetUp();
        AddServer("one", first.port());
        AddServer("two", second.port());
        AddServer("refusing", second.port(), "wrong");
        WriteFileBytes(first.root() + "/a.bin", content);
    }

    PyFtpd first, second;
    const std::string content = RandomBytes(300'000, 9);
};

TEST_F(ServerOperations, ATransferAsksOnEveryLoginFailure)
{
    interaction.yesNo = {true};
    const std::uint32_t id = Run(Request(OperationKind::Transfer, "one", "/a.bin", "", "refusing", "/copy.bin"));
    EXPECT_EQ(interaction.asked,
              (std::vector<Asked>{{"yesno", FillInsert(OperationText::kAskTransferSameConnection, "/a.bin")}}));
    ASSERT_EQ(host.retries.size(), 1u);
    EXPECT_NE(host.retries[0].first, 421u);
    EXPECT_EQ(host.retries[0].second, id);
    EXPECT_EQ(PendingRequestList.Count(), 1u) << "the request waits for the main thread's answer";
}

TEST_F(ServerOperations, UnknownServersAreNamed)
{
    Run(Request(OperationKind::Transfer, "one", "/a.bin", "", "nowhere", "/b"));
    Run(Request(OperationKind::Download, "lost", "/a.bin", local.file("a"), "gone"));
    // A transfer from an unknown source must not read from the target instead.
    Run(Request(OperationKind::Transfer, "lost", "/a.bin", "", "one", "/a.bin"));
    EXPECT_EQ(interaction.asked,
              (std::vector<Asked>{{"message", "Error getting the user information  for 'nowhere' ."},
                                  {"message", "Error getting the user information  for 'lost' ."},
                                  {"message", "Error getting the user information  for 'lost' ."}}));
    EXPECT_EQ(ReadFileBytes(first.root() + "/a.bin"), content);
}

TEST_F(ServerOperations, TransferAppendChangeModeAndDeleteUnderTheirRows)
{
    const std::string a = first.root() + "/a.bin", tail = local.file("tail"), head = local.file("head");
    WriteFileBytes(tail, "tail");
    WriteFileBytes(head, "head");
    ServerMap["two"].passive = 1;
    const auto run = [this](const OperationRequest& request) {
        host.counts.clear();
        Run(request);
        return host.Row();
    };
    EXPECT_EQ(run(Request(OperationKind::Transfer, "one", "/a.bin", "", "two", "/copy.bin")),
              "Transfering /a.bin | Transfering /a.bin to two");
    EXPECT_EQ(ReadFileBytes(second.root() + "/copy.bin"), content);
    EXPECT_EQ(run(Request(OperationKind::UploadAppend, "", tail, "", "one", "/a.bin")),
              "Appending " + tail + " | Appending " + tail + " to /a.bin");
    EXPECT_EQ(ReadFileBytes(a), content + "tail");
    EXPECT_EQ(run(Request(OperationKind::DownloadAppend, "one", "/a.bin", "", "", head)),
              "Appending /a.bin | Appending /a.bin to " + head);
    EXPECT_EQ(ReadFileBytes(head), "head" + content + "tail");
    EXPECT_EQ(run(Request(OperationKind::ChangeMode, "one", "/a.bin", "", "", "", "600")),
              "ChMod /a.bin | Changing /a.bin's permissions");
    EXPECT_EQ(ModeOf(a), 0600u);
    EXPECT_TRUE(interaction.asked.empty());

    // Without a mode the permissions dialog asks, starting from the present permissions.
    interaction.mode = "640";
    Run(Request(OperationKind::ChangeMode, "one", "/a.bin"));
    EXPECT_EQ(ModeOf(a), 0640u);
    EXPECT_EQ(interaction.asked, (std::vector<Asked>{{"permissions", "/a.bin rw-------"}}));
    interaction.mode.reset();
    Run(Request(OperationKind::ChangeMode, "one", "/a.bin"));
    EXPECT_EQ(ModeOf(a), 0640u) << "a declined dialog sends nothing";

    EXPECT_EQ(run(Request(OperationKind::Delete, "one", "/a.bin")), "Deleting /a.bin | Deleting /a.bin from one");
    EXPECT_FALSE(std::filesystem::exists(a));
}

TEST_F(ServerOperations, Kinds5To8ReportStartAndEndAndNothingElse)
{
    for (int kind : {5, 6, 8}) {
        host.counts.clear();
        const std::uint32_t id = Run(Request(kind, "one", "/a.bin", local.file("x"), "two", "/b.bin"));
        ASSERT_EQ(host.counts.size(), 2u);
        EXPECT_TRUE(host.counts[0].started && host.counts[0].id == id && !host.counts[0].row);
        EXPECT_TRUE(!host.counts[1].started && host.counts[1].id == id);
    }
    EXPECT_EQ(connections.load(), 0);
    EXPECT_TRUE(interaction.asked.empty());
    EXPECT_FALSE(std::filesystem::exists(second.root() + "/b.bin") || std::filesystem::exists(local.file("x")));
}

// When a connection is destroyed no status row may name it, or the operations window could cancel
// through a destroyed object.
std::atomic<int> destroyed{0}, stillNamed{0};
struct WatchedConnection : QorFtpConnection {
    ~WatchedConnection() override
    {
        ++destroyed;
        for (const OperationStatus& row : OperationStatusList.Snapshot())
            stillNamed += row.connection == this;
    }
};

TEST_F(ServerOperations, AStatusRowGoesBeforeItsConnection)
{
    ServerMap["one"].passive = 1;
    destroyed = stillNamed = 0;
    SetConnectionFactory([] { return std::make_unique<WatchedConnection>(); });
    WriteFileBytes(local.file("up.bin"), "u");
    const std::vector<OperationRequest> requests = {
        Request(OperationKind::Download, "one", "/a.bin", local.file("a.bin")),
        Request(OperationKind::Upload, "", local.file("up.bin"), "", "one", "/up.bin"),
        Request(OperationKind::Transfer, "one", "/a.bin", "", "two", "/t.bin"),
        Request(OperationKind::Transfer, "one", "/a.bin", "", "refusing", "/t.bin"),
        Request(OperationKind::Transfer, "refusing", "/a.bin", "", "two", "/u.bin"),
        Request(OperationKind::ChangeMode, "one", "/a.bin", "", "", "", "644"),
        Request(OperationKind::Delete, "one", "/missing.bin"),
        Request(OperationKind::Download, "refusing", "/a.bin", local.file("never.bin")),
    };
    for (const OperationRequest& request : requests)
        StartOperation(request);
    // The operations window reads the rows meanwhile.
    std::atomic<bool> done{false};
    std::thread window([&] {
        while (!done)
            OperationStatusList.Snapshot();
    });
    EXPECT_TRUE(WaitForOperations(std::chrono::seconds(120)));
    done = true;
    window.join();
    EXPECT_EQ(destroyed.load(), 11);
    EXPECT_EQ(stillNamed.load(), 0);
    EXPECT_EQ(OperationStatusList.Count(), 0u);
    EXPECT_EQ(ReadFileBytes(second.root() + "/t.bin"), content);
}

TEST_F(ServerOperations, AScriptsFailedOpenSkipsTheStepsUntilTheNextOpen)
{
    WriteFileBytes(second.root() + "/a.bin", "two");
    WriteFileBytes(local.file("got"), "an existing file is replaced");
    const auto open = [](const char* site) { return Request(OperationKind::ScriptOpen, site, ""); };
    const auto close = [](const char* site) { return Request(OperationKind::ScriptClose, site, ""); };
    const auto get = [this](const char* site, const char* to) {
        return Request(OperationKind::Download, site, "/a.bin", local.file(to));
    };
    const std::vector<OperationRequest> steps = {
        open("one"),
        get("one", "got"),
        // An unknown site leaves "one" logged in: no step that names the site may read from "one".
        open("nowhere"),
        get("nowhere", "unknown"),
        Request(OperationKind::Transfer, "nowhere", "/a.bin", "", "two", "/copied.bin"),
        // A second open without a close fails in the library, with "one" still logged in.
        open("two"),
        get("two", "not closed"),
        close("two"),
        open("refusing"),
        get("refusing", "refused"),
        close("refusing"),
        open("two"),
        get("two", "after"),
        close("two"),
    };
    ScriptStepList.Replace(steps);

    const std::uint32_t id = RunScript();
    ASSERT_TRUE(WaitForOperations(std::chrono::seconds(60)));
    EXPECT_EQ(ReadFileBytes(local.file("got")), content);
    EXPECT_EQ(ReadFileBytes(local.file("after")), "two");
    for (const char* skipped : {"unknown", "not closed", "refused"})
        EXPECT_FALSE(std::filesystem::exists(local.file(skipped))) << skipped;
    EXPECT_FALSE(std::filesystem::exists(second.root() + "/copied.bin"));
    EXPECT_EQ(interaction.asked,
              std::vector<Asked>(3, {"message", "Error getting the user information  for 'nowhere' ."}));
    EXPECT_EQ(ScriptLoggedIn.load(), 0);
    EXPECT_EQ(RunningScriptCount(), 0);
    ASSERT_EQ(host.counts.size(), 2u);
    EXPECT_TRUE(host.counts[0].started && host.counts[0].id == id && !host.counts[0].row);
    EXPECT_EQ(ScriptStepList.Count(), steps.size()) << "the steps stay for another run";
}

} // namespace
