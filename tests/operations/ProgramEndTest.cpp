// The program's end: what ran off the user-interface thread is joined, or cancelled and joined,
// before the process leaves main, so it exits with 0 instead of aborting in a thread's destructor.
// Each case runs in a child process of its own (a death test), which ends the way main does.
#include "operations/CommandThread.h"
#include "operations/OperationLists.h"
#include "servers/ServerMap.h"
#include "settings/Settings.h"

#include "ScriptedServer.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

using namespace std::chrono_literals;
using tarvo::test::ScriptedServer;
using tarvo::test::TempDir;

// A download from `port`, started as the file list starts one.
void StartDownload(const TempDir& folder, int port)
{
    SetSettingsFilePath(QString::fromStdString(folder.file("Tarvo.conf")));
    ServerMap["Far"] = ServerRecord{"Far", "127.0.0.1", "a", "b", "", port, 0, ""};
    StartOperation(OperationRequest{0, "Far", "", folder.file("a.txt"), "/a.txt", "", "", Download});
}

bool LoggingIn()
{
    for (const OperationStatus& status : OperationStatusList.Snapshot())
        if (status.connection)
            return true;
    return false;
}

TEST(ProgramEndDeathTest, WorkThatEndedLeavesMainWithZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The test's own folder and server go before std::exit, which ends no scope.
    EXPECT_EXIT(std::exit([] {
                    TempDir folder;
                    int port = 0;
                    {
                        ScriptedServer gone; // its port refuses at once once it is gone
                        port = static_cast<int>(gone.port());
                    }
                    StartDownload(folder, port);
                    while (OperationStatusList.Count() != 0)
                        std::this_thread::sleep_for(1ms);
                    std::this_thread::sleep_for(100ms); // the worker's thread ends after its row
                    return 0;
                }()),
                ::testing::ExitedWithCode(0), "");
}

TEST(ProgramEndDeathTest, QuitCancelsALoginThatWaitsAndLeavesWithZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EXIT(std::exit([] {
                    TempDir folder;
                    ScriptedServer silent;
                    silent.Hang();
                    silent.Start();
                    StartDownload(folder, static_cast<int>(silent.port()));
                    while (!LoggingIn())
                        std::this_thread::sleep_for(1ms);
                    return EndOperations(5s) ? 0 : 3;
                }()),
                ::testing::ExitedWithCode(0), "");
    // The login's own time-out is 60 s: only the cancel ends it this soon.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 30s);
}

} // namespace
