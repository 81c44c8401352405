// Stand-ins for the windows: the recording interaction (tests/support), a host that records count reports and posts,
// browsing connections the test fills, and a library interface that keeps the library's messages. Tests read them after
// WaitForOperations, which joins the workers.
#pragma once

#include "operations/CommandThread.h"
#include "operations/Interaction.h"
#include "operations/OperationConnection.h"
#include "operations/OperationHost.h"
#include "tests/core/TemporaryStore.h"

#include "PyFtpd.h"
#include "QorFtp.h"
#include "RecordingHost.h"
#include "RecordingInteraction.h"
#include "RecordingUi.h"

#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>

namespace optest {

using namespace tarvo::test;

using Asked = tarvo::test::Asked;
using RecordingInteraction = tarvo::test::RecordingInteraction;
inline void Locked(const std::function<void()>& record)
{
    RecordingInteraction::Locked(record);
}

// An entry is a connection and its busy flag. Tests fill the entries before any retry runs; the
// retry's job clears the flag from its own thread, as it does in the folder tree's list.
class FakeBrowsingConnections : public BrowsingConnections {
public:
    int IsConnectionBusy(const std::string& name) override
    {
        std::lock_guard<std::mutex> guard(lock);
        return entries.count(name) ? entries[name].second : 1;
    }
    void SetConnectionBusy(const std::string& name, int busy) override
    {
        std::lock_guard<std::mutex> guard(lock);
        busyCalls.push_back(name + "=" + std::to_string(busy));
        if (entries.count(name))
            entries[name].second = busy;
    }
    QorFtpConnection* FindBrowsingConnection(const std::string& name) override
    {
        std::lock_guard<std::mutex> guard(lock);
        return entries.count(name) ? entries[name].first : nullptr;
    }
    std::mutex lock;
    std::map<std::string, std::pair<QorFtpConnection*, int>> entries;
    std::vector<std::string> busyCalls;
};

class OperationsTest : public TemporaryStore {
protected:
    void SetUp() override
    {
        TemporaryStore::SetUp();
        AppSettings settings;
        settings.timeoutSeconds = 30;
        SetProgramSettings(settings);
        OperationStatusList.Clear();
        PendingRequestList.Clear();
        ScriptStepList.Clear();
        ScriptLoggedIn = 0;
        SetInteraction(&interaction);
        SetOperationHost(&host);
        SetBrowsingConnections(&browsing);
        QorFtpSetUi(&ftpUi);
        SetConnectionFactory([this] {
            ++connections;
            return std::make_unique<QorFtpConnection>();
        });
    }
    void TearDown() override
    {
        EXPECT_TRUE(WaitForOperations(std::chrono::seconds(120)));
        SetConnectionFactory(nullptr);
        QorFtpSetUi(nullptr);
        SetBrowsingConnections(nullptr);
        SetOperationHost(nullptr);
        SetInteraction(nullptr);
        TemporaryStore::TearDown();
    }
    // Tests that run several transfers on one pyftpdlib at once use passive mode: pyftpdlib now and
    // then never answers a PORT when two sessions open active data connections at the same moment
    // (Python's own ftplib meets it too).
    void AddServer(const std::string& name, unsigned port, const std::string& password = PyFtpd::kPassword,
                   int passive = 0)
    {
        ServerMap[name]
            = ServerRecord{name, "127.0.0.1", PyFtpd::kUser, password, "", static_cast<int>(port), passive, ""};
    }
    // Starts the request and waits until every worker has ended.
    std::uint32_t Run(const OperationRequest& request)
    {
        std::uint32_t id = 0;
        EXPECT_EQ(StartOperation(request, &id), 1);
        EXPECT_TRUE(WaitForOperations(std::chrono::seconds(120)));
        return id;
    }

    RecordingInteraction interaction;
    RecordingHost host;
    FakeBrowsingConnections browsing;
    RecordingUi ftpUi; // the library's messages
    TempDir local;
    std::atomic<int> connections{0}; // the connections the operations made
};

inline OperationRequest Request(int kind, std::string source, std::string file, std::string localPath = {},
                                std::string target = {}, std::string targetFile = {}, std::string mode = {})
{
    return {0, source, target, localPath, file, targetFile, mode, kind};
}

inline unsigned ModeOf(const std::string& path)
{
    return static_cast<unsigned>(std::filesystem::status(path).permissions()) & 0777;
}

} // namespace optest
