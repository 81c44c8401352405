// The worker of one background operation (or of one running script) and its start.
#pragma once

#include "OperationLists.h"
#include "OperationRequest.h"
#include "WorkerConnection.h"
#include "servers/ServerMap.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QorFtpConnection;

// Starts a worker for one request: records it in PendingRequestList, adds its status row and runs
// it on a thread of its own. The request's operationId is replaced by a new one, also stored in
// `operationId` when given. Call it on the user-interface thread, which owns ServerMap. Returns 1.
int StartOperation(OperationRequest request, std::uint32_t* operationId = nullptr);

// Starts a worker that runs a copy of ScriptStepList over one connection; no status row and no
// pending request. Returns the worker's operation id. User-interface thread, as StartOperation.
std::uint32_t RunScript();
// Scripts started by RunScript that have not ended.
int RunningScriptCount();

// Waits until all work of the program's executor has ended (tests); false when `timeout` passed
// first. Never call it from a worker.
bool WaitForOperations(std::chrono::milliseconds timeout);

// The program's end: cancels every operation that has a status row and joins the executor's
// work within `grace`; false when some still runs then (it is left to the process's end).
bool EndOperations(std::chrono::milliseconds grace);

// Whether the script connection is logged in. Process-wide and never reset by a new script, so two
// scripts running at once share it.
extern std::atomic<int> ScriptLoggedIn;

// Runs one compiled script step over the script's connection, as a script worker does: 11 logs
// it in (ScriptLoggedIn is the result), 12 closes it, the transfer kinds run without asking
// anything and only while ScriptLoggedIn is set. A step whose servers are both unknown shows the
// user-information message. Returns the step's result, 0 for a skipped step. For a script runner
// of its own: `servers` must not change while it runs.
int RunScriptStep(const OperationRequest& step, QorFtpConnection& scriptConnection,
                  const ServerTable& servers = ServerMap);

// The worker itself. Fields and operations are those of the command thread; it runs either one
// request or the script steps, over connections of its own or the script's connection.
class CCommandThread {
public:
    // A worker for one request (isScript 0) or for script steps (isScript 1). Takes a copy of the
    // server list and the time-out setting, since the worker must not read what the
    // user-interface thread may change. Script steps run by RunScriptStep have operation id 0.
    CCommandThread(bool isScript, const ServerTable& servers, std::uint32_t operationId);
    ~CCommandThread();
    CCommandThread(const CCommandThread&) = delete;
    CCommandThread& operator=(const CCommandThread&) = delete;

    // Start report, the work, end report: the body of the thread.
    void Run();

    // One script step over `connection`, in script mode.
    int RunStep(const OperationRequest& step, QorFtpConnection& connection);

private:
    friend int StartOperation(OperationRequest, std::uint32_t*);
    friend std::uint32_t RunScript();

    void RunRequest();
    void RunScriptSteps();
    // serverRecord from sourceServer, else from targetServer; false (and the message) when both
    // are unknown.
    bool ResolveServer();
    int Dispatch();
    bool LookUp(const std::string& name, ServerRecord& out) const;

    // The operations; each returns nonzero on success.
    int Download();
    int Upload();
    // targetRecord from targetServer, and a source known by its own name; false (and the message)
    // otherwise.
    bool ResolveBothServers();
    int TransferBetweenServers(bool append);
    // The copy for servers that cannot exchange the data directly: through a temporary file here.
    int CopyThroughHere(QorFtpConnection& source, QorFtpConnection& target, bool append);
    // Script mode: the script's connection; otherwise a logged-in connection of the worker's own,
    // closed after `work`. 0 when the login fails.
    int WithLoggedInConnection(const std::function<int(QorFtpConnection&)>& work);
    // Script mode: the script's connection; otherwise one of the worker's own in `own`, logged in
    // without looking at the result.
    QorFtpConnection* ConnectionWithoutLoginCheck(WorkerConnection& own);
    int UploadAppend();
    int DownloadAppend();
    int ChangeFileMode();
    int DeleteFile();
    // Kinds 13 to 16 (FolderJob.cpp).
    int FolderJobOperation();
    // Script mode: get, put or trans of a folder runs as a folder job; nothing for a file.
    std::optional<int> ScriptFolderStep();
    void OpenViewedFile(const std::string& path);

    // A new connection for `record`, named in the status row unless `named` is false.
    WorkerConnection OpenConnection(const ServerRecord& record, bool named = true);
    // The connection a cancel from the background-operations window reaches.
    void NameInStatus(QorFtpConnection* connection);
    // The same-connection question after a failed login; Yes posts the retry with `errorCode`.
    void OfferSameConnection(const char* question, unsigned long errorCode);
    void ShowUserInformationError(const std::string& serverName);
    bool Cancelled() const;

    std::uint32_t m_operationId;
    int m_isScript = 0;
    OperationRequest m_request;
    ServerRecord m_targetRecord;
    ServerRecord m_serverRecord;
    QorFtpConnection* m_scriptConnection = nullptr;

    bool m_sourceKnown = false; // serverRecord came from sourceServer
    bool m_retryPosted = false; // the request must stay pending for the retry
    CancelFlag m_cancelled;
    std::shared_ptr<JobProgress> m_progress; // folder jobs: the row's progress
    ServerTable m_servers;
    int m_timeoutSeconds = 60;
    std::vector<OperationRequest> m_steps;
};
