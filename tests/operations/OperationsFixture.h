// Stand-ins for the windows: an interaction that answers from a script and records the exact
// texts asked, a host that records count reports and posts, browsing connections the test fills,
// and a library interface that keeps the library's messages. Workers write them under a lock;
// tests read them after WaitForOperations, which joins the workers.
#pragma once

#include "app/Settings.h"
#include "operations/CommandThread.h"
#include "operations/Interaction.h"
#include "operations/OperationConnection.h"
#include "operations/OperationHost.h"
#include "servers/ServerMap.h"

#include "QorFtp.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <condition_variable>
#include <deque>
#include <map>

namespace optest {

struct Asked {
    std::string what; // "message", "yesno", "overwrite", "permissions"
    std::string text;
    bool operator==(const Asked&) const = default;
};
inline std::ostream& operator<<(std::ostream& out, const Asked& asked)
{
    return out << asked.what << ": \"" << asked.text << "\"";
}

class RecordingInteraction : public Interaction {
public:
    void ShowMessage(const std::string& text, MessageIcon, const CancelFlag&) override { Record("message", text); }
    bool AskYesNo(const std::string& text, const CancelFlag&) override
    {
        Record("yesno", text);
        return Next(yesNo, false);
    }
    OverwriteAnswer AskOverwrite(const std::string& path, const CancelFlag& cancelled) override
    {
        Record("overwrite", path);
        std::unique_lock<std::mutex> guard(lock);
        if (waitForCancel) {
            // As the program's dialog does: the worker gives up once its operation is cancelled.
            asking = true;
            changed.notify_all();
            changed.wait(guard, [&] { return cancelled->load(); });
            return {};
        }
        guard.unlock();
        return Next(overwrite, OverwriteAnswer{});
    }
    std::optional<std::string> AskPermissions(const std::string& file, const std::string& permissions,
                                              const CancelFlag&) override
    {
        Record("permissions", file + " " + permissions);
        return mode;
    }
    DeleteConfirmResult AskDeleteConfirm(const std::string& prompt, const CancelFlag&) override
    {
        Record("delete", prompt);
        return DeleteConfirmResult::No;
    }
    void WaitUntilAsking()
    {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [this] { return asking; });
    }
    void WakeAsking()
    {
        std::lock_guard<std::mutex> guard(lock);
        changed.notify_all();
    }

    std::deque<bool> yesNo;             // answers, used in order
    std::deque<OverwriteAnswer> overwrite;
    std::optional<std::string> mode;
    bool waitForCancel = false;
    std::vector<Asked> asked;

private:
    void Record(const char* what, const std::string& text)
    {
        std::lock_guard<std::mutex> guard(lock);
        asked.push_back({what, text});
    }
    template <typename T>
    T Next(std::deque<T>& answers, T otherwise)
    {
        std::lock_guard<std::mutex> guard(lock);
        if (answers.empty())
            return otherwise;
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::mutex lock;
    std::condition_variable changed;
    bool asking = false;
};

class RecordingHost : public OperationHost {
public:
    struct Count {
        bool started;
        std::uint32_t id;
        std::optional<OperationStatus> row; // the status row as the main frame reads it
    };
    void OperationCount(bool started, std::uint32_t id) override
    {
        auto row = OperationStatusList.Find(id);
        std::lock_guard<std::mutex> guard(lock);
        counts.push_back({started, id, row});
    }
    void RetrySameConnection(unsigned long code, std::uint32_t id) override
    {
        std::lock_guard<std::mutex> guard(lock);
        retries.push_back({code, id});
    }
    void OpenLocalFile(const std::string& folder, const std::string& name) override
    {
        std::lock_guard<std::mutex> guard(lock);
        opened.push_back(folder + "|" + name);
    }
    std::vector<Count> counts;
    std::vector<std::pair<unsigned long, std::uint32_t>> retries;
    std::vector<std::string> opened;

private:
    std::mutex lock;
};

// Used on the test's thread only, as the folder tree's list is.
class FakeBrowsingConnections : public BrowsingConnections {
public:
    struct Entry {
        QorFtpConnection* connection = nullptr;
        int busy = 0;
    };
    int IsConnectionBusy(const std::string& name) override { return entries.count(name) ? entries[name].busy : 1; }
    void SetConnectionBusy(const std::string& name, int busy) override
    {
        busyCalls.push_back(name + "=" + std::to_string(busy));
        if (entries.count(name))
            entries[name].busy = busy;
    }
    QorFtpConnection* FindBrowsingConnection(const std::string& name) override
    {
        return entries.count(name) ? entries[name].connection : nullptr;
    }
    std::map<std::string, Entry> entries;
    std::vector<std::string> busyCalls;
};

// The library's messages; with `cancelTransfers` every transfer window asks to cancel at once and
// the cancel question is answered Yes.
class RecordingFtpUi : public QorFtpUi {
public:
    void ShowMessage(const std::string&, const std::string& text) override
    {
        std::lock_guard<std::mutex> guard(lock);
        messages.push_back(text);
    }
    bool AskYesNo(const std::string&, const std::string&, QorFtpProgress*) override { return cancelTransfers; }
    std::unique_ptr<QorFtpProgressView> CreateProgressView(QorFtpProgress& progress) override
    {
        struct Silent : QorFtpProgressView {
            void SetCaption(const std::string&) override {}
            void SetFileText(const std::string&) override {}
            void SetPercent(int) override {}
            void SetByteText(const std::string&) override {}
        };
        if (!cancelTransfers)
            return nullptr;
        progress.RequestCancel();
        return std::make_unique<Silent>();
    }
    bool cancelTransfers = false;
    std::vector<std::string> messages;

private:
    std::mutex lock;
};

class OperationsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(settingsFolder.isValid());
        SetSettingsFilePath(settingsFolder.filePath(QStringLiteral("Tarvo.conf")));
        AppSettings settings;
        settings.timeoutSeconds = 30;
        SaveAppSettings(settings);
        ServerMap.clear();
        OperationStatusList.Clear();
        PendingRequestList.Clear();
        ScriptStepList.Clear();
        ScriptLoggedIn = 0;
        SetInteraction(&interaction);
        SetOperationHost(&host);
        SetBrowsingConnections(&browsing);
        QorFtpSetUi(&ftpUi);
    }
    void TearDown() override
    {
        EXPECT_TRUE(WaitForOperations(std::chrono::seconds(120)));
        SetConnectionFactory(nullptr);
        QorFtpSetUi(nullptr);
        SetBrowsingConnections(nullptr);
        SetOperationHost(nullptr);
        SetInteraction(nullptr);
        ServerMap.clear();
        SetSettingsFilePath({});
    }
    // Tests that run several transfers on one pyftpdlib at once use passive mode: pyftpdlib now and
    // then never answers a PORT when two sessions open active data connections at the same moment
    // (Python's own ftplib meets it too).
    void AddServer(const std::string& name, unsigned port, const std::string& user, const std::string& password,
                   int passive = 0)
    {
        ServerMap[name] = ServerRecord{name, "127.0.0.1", user, password, "", static_cast<int>(port), passive, ""};
    }
    // Starts the request and waits until every worker has ended.
    std::uint32_t Run(const OperationRequest& request)
    {
        std::uint32_t id = 0;
        EXPECT_EQ(StartOperation(request, &id), 1);
        EXPECT_TRUE(WaitForOperations(std::chrono::seconds(120)));
        return id;
    }

    QTemporaryDir settingsFolder;
    RecordingInteraction interaction;
    RecordingHost host;
    FakeBrowsingConnections browsing;
    RecordingFtpUi ftpUi;
    tarvo::test::TempDir local;
};

inline OperationRequest Request(int kind, std::string source, std::string file, std::string localPath = {},
                                std::string target = {}, std::string targetFile = {})
{
    OperationRequest request;
    request.kind = kind;
    request.sourceServer = std::move(source);
    request.file = std::move(file);
    request.localPath = std::move(localPath);
    request.targetServer = std::move(target);
    request.targetFile = std::move(targetFile);
    return request;
}

} // namespace optest
