// A script run by its worker over one shared connection: nothing asked, an existing target
// replaced, and what follows a failed open never reaches the server still logged in. Every step
// kind against two servers is run end to end in tests/scripts/HeadlessRunTest.cpp.
#include "OperationsFixture.h"

using namespace optest;

namespace {

class ScriptMode : public OperationsTest {};

TEST_F(ScriptMode, AFailedOpenSkipsTheStepsUntilTheNextOpen)
{
    PyFtpd first, second;
    AddServer("one", first.port());
    AddServer("two", second.port());
    AddServer("refusing", second.port(), "wrong");
    WriteFileBytes(first.root() + "/a.bin", "one");
    WriteFileBytes(second.root() + "/a.bin", "two");
    WriteFileBytes(local.file("got"), "an existing file is replaced");
    const auto open = [](const char* site) { return Request(OperationKind::ScriptOpen, site, ""); };
    const auto close = [](const char* site) { return Request(OperationKind::ScriptClose, site, ""); };
    const auto get = [this](const char* site, const char* to) {
        return Request(OperationKind::Download, site, "/a.bin", local.file(to));
    };
    const std::vector<OperationRequest> steps = {
        open("one"), get("one", "got"),
        // An unknown site leaves "one" logged in: no step that names the site may read from "one".
        open("nowhere"), get("nowhere", "unknown"),
        Request(OperationKind::Transfer, "nowhere", "/a.bin", "", "two", "/copied.bin"),
        // A second open without a close fails in the library, with "one" still logged in.
        open("two"), get("two", "not closed"), close("two"),
        open("refusing"), get("refusing", "refused"), close("refusing"),
        open("two"), get("two", "after"), close("two"),
    };
    ScriptStepList.Replace(steps);

    const std::uint32_t id = RunScript();
    ASSERT_TRUE(WaitForOperations(std::chrono::seconds(60)));
    EXPECT_EQ(ReadFileBytes(local.file("got")), "one");
    EXPECT_EQ(ReadFileBytes(local.file("after")), "two");
    for (const char* skipped : {"unknown", "not closed", "refused"})
        EXPECT_FALSE(std::filesystem::exists(local.file(skipped))) << skipped;
    EXPECT_FALSE(std::filesystem::exists(second.root() + "/copied.bin"));
    EXPECT_EQ(interaction.asked, std::vector<Asked>(3, {"message", "Error getting the user information  for 'nowhere' ."}));
    EXPECT_EQ(ScriptLoggedIn.load(), 0);
    EXPECT_EQ(RunningScriptCount(), 0);
    ASSERT_EQ(host.counts.size(), 2u);
    EXPECT_TRUE(host.counts[0].started && host.counts[0].id == id && !host.counts[0].row);
    EXPECT_EQ(ScriptStepList.Count(), steps.size()) << "the steps stay for another run";
}

} // namespace
