#include "CommandThread.h"

#include "Executor.h"
#include "Interaction.h"
#include "OperationConnection.h"
#include "OperationHost.h"
#include "OperationIds.h"
#include "OperationTexts.h"
#include "settings/Settings.h"

#include "QorFtp.h"

#include <exception>
#include <mutex>

std::atomic<int> ScriptLoggedIn{0};

namespace {

// The running scripts are counted by the user-interface thread and uncounted by the script's
// own thread.
std::mutex scriptCountLock;
int runningScripts = 0;

} // namespace

CCommandThread::CCommandThread(bool isScript, const ServerTable& servers, std::uint32_t operationId)
    : m_operationId(operationId)
    , m_isScript(isScript ? 1 : 0)
    , m_cancelled(std::make_shared<std::atomic<bool>>(false))
    , m_servers(servers)
    , m_timeoutSeconds(ProgramSettings().timeoutSeconds)
{
}

CCommandThread::~CCommandThread() = default;

int StartOperation(OperationRequest request, std::uint32_t* operationId)
{
    auto thread = std::make_unique<CCommandThread>(false, ServerMap, NewOperationId());
    request.operationId = thread->m_operationId;
    if (operationId)
        *operationId = request.operationId;
    PendingRequestList.Append(request);
    thread->m_request = request;
    if (std::optional<StatusTexts> texts = BackgroundStatusTexts(request)) {
        OperationStatus status;
        status.operationId = request.operationId;
        status.title = texts->title;
        status.description = texts->description;
        thread->m_cancelled = status.cancelled;
        if (IsFolderJob(request.kind)) {
            status.progress = std::make_shared<JobProgress>();
            thread->m_progress = status.progress;
        }
        OperationStatusList.Append(std::move(status));
    }
    try {
        ProgramExecutor().Run([thread = std::shared_ptr<CCommandThread>(std::move(thread))] { thread->Run(); },
                              Executor::Kind::Transfer);
    } catch (const std::exception& failure) {
        // No thread: nothing will ever end this operation, so its traces go now.
        OperationStatusList.RemoveStatusEntry(request.operationId);
        PendingRequestList.Take(request.operationId);
        GetInteraction().ShowMessage(failure.what(), MessageIcon::Error);
    }
    return 1;
}

std::uint32_t RunScript()
{
    auto thread = std::make_unique<CCommandThread>(true, ServerMap, NewOperationId());
    // A copy: the user may load another script while this one runs.
    thread->m_steps = ScriptStepList.Snapshot();
    const std::uint32_t id = thread->m_operationId;
    {
        std::lock_guard<std::mutex> guard(scriptCountLock);
        ++runningScripts;
    }
    try {
        ProgramExecutor().Run([thread = std::shared_ptr<CCommandThread>(std::move(thread))] { thread->Run(); });
    } catch (const std::exception& failure) {
        {
            std::lock_guard<std::mutex> guard(scriptCountLock);
            --runningScripts;
        }
        GetInteraction().ShowMessage(failure.what(), MessageIcon::Error);
    }
    return id;
}

int RunningScriptCount()
{
    std::lock_guard<std::mutex> guard(scriptCountLock);
    return runningScripts;
}

bool WaitForOperations(std::chrono::milliseconds timeout)
{
    return ProgramExecutor().WaitIdle(timeout);
}

bool EndOperations(std::chrono::milliseconds grace)
{
    for (const OperationStatus& status : OperationStatusList.Snapshot())
        OperationStatusList.Cancel(status.operationId);
    return ProgramExecutor().WaitIdle(grace);
}

int RunScriptStep(const OperationRequest& step, QorFtpConnection& scriptConnection, const ServerTable& servers)
{
    CCommandThread context(true, servers, 0);
    return context.RunStep(step, scriptConnection);
}

void CCommandThread::Run()
{
    GetOperationHost().OperationCount(true, m_operationId);
    try {
        if (m_isScript)
            RunScriptSteps();
        else
            RunRequest();
    } catch (const std::exception& failure) {
        // A failure of the local file layer or of memory ends this operation, never the program.
        GetInteraction().ShowMessage(failure.what(), MessageIcon::Error, m_cancelled);
    }
    OperationStatusList.RemoveStatusEntry(m_operationId);
    // Nothing else reads a request whose retry was not asked for, so it need not wait for exit.
    if (!m_isScript && !m_retryPosted)
        PendingRequestList.Take(m_operationId);
    GetOperationHost().OperationCount(false, m_operationId);
    if (m_isScript) {
        std::lock_guard<std::mutex> guard(scriptCountLock);
        --runningScripts;
    }
}

void CCommandThread::RunRequest()
{
    if (!ResolveServer())
        return;
    Dispatch();
}

bool CCommandThread::LookUp(const std::string& name, ServerRecord& out) const
{
    const auto found = m_servers.find(name);
    if (found == m_servers.end())
        return false;
    out = found->second;
    return true;
}

bool CCommandThread::ResolveServer()
{
    m_sourceKnown = LookUp(m_request.sourceServer, m_serverRecord);
    if (m_sourceKnown || LookUp(m_request.targetServer, m_serverRecord))
        return true;
    ShowUserInformationError(m_request.sourceServer);
    return false;
}

int CCommandThread::Dispatch()
{
    switch (m_request.kind) {
    case OperationKind::Upload:
        return Upload();
    case OperationKind::Download:
    case OperationKind::View:
        return Download();
    case OperationKind::Transfer:
        return TransferBetweenServers(false);
    case OperationKind::ChangeMode:
        return ChangeFileMode();
    case OperationKind::Delete:
        return DeleteFile();
    case OperationKind::AppendTransfer:
        // Appending between servers is for scripts only.
        return m_isScript ? TransferBetweenServers(true) : 0;
    case OperationKind::UploadAppend:
        return UploadAppend();
    case OperationKind::DownloadAppend:
        return DownloadAppend();
    case OperationKind::FolderDownload:
    case OperationKind::FolderUpload:
    case OperationKind::FolderTransfer:
    case OperationKind::FolderDelete:
        // Scripts reach folders through get, put and trans (ScriptFolderStep).
        return m_isScript ? 0 : FolderJobOperation();
    default:
        return 0;
    }
}

void CCommandThread::RunScriptSteps()
{
    if (m_steps.empty())
        return;
    std::unique_ptr<QorFtpConnection> connection = NewConnection(ServerRecord{}, m_timeoutSeconds);
    for (const OperationRequest& step : m_steps)
        RunStep(step, *connection);
    connection->Close();
}

int CCommandThread::RunStep(const OperationRequest& step, QorFtpConnection& connection)
{
    m_request = step;
    m_scriptConnection = &connection;
    if (!ResolveServer())
        return 0;
    switch (step.kind) {
    case OperationKind::ScriptOpen:
        connection.SetPassive(m_serverRecord.passive);
        connection.SetTimeout(m_timeoutSeconds);
        ScriptLoggedIn = LoginWith(connection, m_serverRecord);
        return ScriptLoggedIn.load();
    case OperationKind::ScriptClose:
        connection.Close();
        ScriptLoggedIn = 0;
        return 1;
    case OperationKind::Upload:
    case OperationKind::Download:
    case OperationKind::Transfer:
        if (!ScriptLoggedIn.load())
            return 0;
        if (const std::optional<int> folder = ScriptFolderStep())
            return *folder;
        return Dispatch();
    case OperationKind::ChangeMode:
    case OperationKind::Delete:
    case OperationKind::AppendTransfer:
    case OperationKind::UploadAppend:
    case OperationKind::DownloadAppend:
        return ScriptLoggedIn.load() ? Dispatch() : 0;
    default:
        return 1;
    }
}

WorkerConnection CCommandThread::OpenConnection(const ServerRecord& record, bool named)
{
    return WorkerConnection(m_operationId, record, m_timeoutSeconds, named);
}

void CCommandThread::NameInStatus(QorFtpConnection* connection)
{
    // Script steps run with id 0 and have no row.
    if (m_operationId != 0)
        OperationStatusList.SetStatusConnection(m_operationId, connection);
}

void CCommandThread::OfferSameConnection(const char* question, unsigned long errorCode)
{
    if (!GetInteraction().AskYesNo(FillInsert(OperationText::Tr(question), m_request.file), m_cancelled))
        return;
    m_retryPosted = true;
    GetOperationHost().RetrySameConnection(errorCode, m_operationId);
}

void CCommandThread::ShowUserInformationError(const std::string& serverName)
{
    GetInteraction().ShowMessage(FillInsert(OperationText::Tr(OperationText::kUserInformation), serverName),
                                 MessageIcon::Error, m_cancelled);
}

bool CCommandThread::Cancelled() const
{
    return m_cancelled && m_cancelled->load();
}
