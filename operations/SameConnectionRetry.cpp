#include "SameConnectionRetry.h"

#include "CommandThread.h"
#include "Executor.h"
#include "FolderJob.h"
#include "Interaction.h"
#include "OperationHost.h"
#include "OperationIds.h"
#include "OperationLists.h"
#include "OperationTexts.h"
#include "OverwriteLoop.h"
#include "settings/Settings.h"

#include "QorFtp.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <exception>
#include <functional>
#include <memory>

namespace {

// Holds the browsing connection for one foreground operation: busy flag, status row and count
// pair, undone in the same way on every way out. Made on the user-interface thread, so the check
// of the busy flag and its setting are never split by a listing the tree starts; it usually ends
// on the retry's job thread.
class ForegroundSession {
public:
    ForegroundSession(const std::string& server, const StatusTexts& texts,
                      std::shared_ptr<JobProgress> progress = nullptr)
        : m_server(server)
        , m_operationId(NewOperationId())
    {
        GetBrowsingConnections().SetConnectionBusy(m_server, 1);
        OperationStatus status;
        status.operationId = m_operationId;
        status.title = texts.title;
        status.description = texts.description;
        status.progress = std::move(progress);
        m_cancelled = status.cancelled;
        OperationStatusList.Append(std::move(status));
        GetOperationHost().OperationCount(true, m_operationId);
        m_connection = GetBrowsingConnections().FindBrowsingConnection(m_server);
        // The browsing connection outlives this session, so the row may name it; a cancel from
        // the background-operations window then reaches the transfer.
        OperationStatusList.SetStatusConnection(m_operationId, m_connection);
    }

    ~ForegroundSession()
    {
        OperationStatusList.RemoveStatusEntry(m_operationId);
        // A cancel that came after the transfer's last wait must not end the next listing.
        if (m_connection)
            m_connection->ClearCancel();
        GetBrowsingConnections().SetConnectionBusy(m_server, 0);
        GetOperationHost().OperationCount(false, m_operationId);
    }

    ForegroundSession(const ForegroundSession&) = delete;
    ForegroundSession& operator=(const ForegroundSession&) = delete;

    QorFtpConnection* Connection() const { return m_connection; }
    std::uint32_t OperationId() const { return m_operationId; }
    const CancelFlag& Cancelled() const { return m_cancelled; }
    bool IsCancelled() const { return m_cancelled->load(); }

private:
    std::string m_server;
    std::uint32_t m_operationId;
    CancelFlag m_cancelled;
    QorFtpConnection* m_connection = nullptr;
};

void RemoveTemporaryFile(const std::string& path)
{
    QFile::remove(QString::fromStdString(path));
}

// Back to the user-interface thread, which owns ServerMap and starts the operations. Without an
// application there is no such thread, and no other thread that could change the servers.
void OnUiThread(std::function<void()> call)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
    else
        call();
}

// The session's work runs as a job of the program's executor, so the user-interface thread goes
// on meanwhile and never re-enters the browsing connection; the busy flag the session holds keeps
// the tree's listings and a second retry off that connection. The session ends on the job's
// thread, before `then` sees the work's result. False when no thread could be had: the session
// has ended then, and `then` is not called.
bool RunHoldingSession(std::unique_ptr<ForegroundSession> session, std::function<int(ForegroundSession&)> work,
                       std::function<void(int)> then = {})
{
    auto job = [session = std::shared_ptr<ForegroundSession>(std::move(session)), work = std::move(work),
                then = std::move(then)]() mutable {
        int result = 0;
        try {
            result = work(*session);
        } catch (const std::exception& failure) {
            // A failure of the local file layer or of memory ends this retry, never the program.
            GetInteraction().ShowMessage(failure.what(), MessageIcon::Error, session->Cancelled());
        }
        session.reset();
        if (then)
            then(result);
    };
    try {
        ProgramExecutor().Run(std::move(job));
    } catch (const std::exception& failure) {
        GetInteraction().ShowMessage(failure.what(), MessageIcon::Error);
        return false;
    }
    return true;
}

} // namespace

void RetrySameConnectionReceived(unsigned long errorCode, std::uint32_t operationId)
{
    if (errorCode != 421) {
        PendingRequestList.Take(operationId);
        return;
    }
    RunOnSameConnection(operationId);
}

void RunOnSameConnection(std::uint32_t operationId)
{
    std::optional<OperationRequest> request = PendingRequestList.Take(operationId);
    if (!request)
        return;
    switch (request->kind) {
    case OperationKind::Upload:
        ForegroundUpload(*request);
        return;
    case OperationKind::Download:
    case OperationKind::View:
    case OperationKind::Transfer:
        ForegroundDownload(*request);
        return;
    case OperationKind::FolderDownload:
    case OperationKind::FolderUpload:
    case OperationKind::FolderTransfer:
    case OperationKind::FolderDelete:
        ForegroundFolderJob(*request);
        return;
    default:
        // Only the operations above ever offer the retry.
        return;
    }
}

std::string CreateTransferTemporaryFile()
{
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/ftpXXXXXX.TMP"));
    // The upload that follows reads it after this function has returned.
    file.setAutoRemove(false);
    if (!file.open())
        return {};
    return file.fileName().toStdString();
}

void ForegroundDownload(OperationRequest request)
{
    const std::string server = request.sourceServer;
    if (GetBrowsingConnections().IsConnectionBusy(server)) {
        GetInteraction().ShowMessage(OperationText::Tr(OperationText::kConnectionBusy), MessageIcon::Information);
        return;
    }
    const bool transfer = request.kind == OperationKind::Transfer;
    if (transfer) {
        // Made only now, so a refused retry leaves no empty file behind.
        request.localPath = CreateTransferTemporaryFile();
        if (request.localPath.empty()) {
            GetInteraction().ShowMessage(FillInsert(OperationText::Tr(OperationText::kTemporaryFileFailed),
                                                    QDir::tempPath().toStdString(), request.file),
                                         MessageIcon::Error);
            return;
        }
    }

    auto session = std::make_unique<ForegroundSession>(server, ForegroundDownloadTexts(request));
    if (!session->Connection()) {
        GetInteraction().ShowMessage(OperationText::Tr(OperationText::kConnectionBusy), MessageIcon::Information,
                                     session->Cancelled());
        session.reset();
        if (transfer)
            RemoveTemporaryFile(request.localPath);
        return;
    }

    auto download = [request, transfer](ForegroundSession& held) {
        // The temporary file exists because it was just made for this download: nothing to ask.
        const TargetChoice choice = transfer ? TargetChoice{true, request.localPath, 0, 0}
                                             : ChooseLocalTarget(request.localPath, held.Cancelled());
        if (!choice.proceed || held.IsCancelled())
            return 0;
        return held.Connection()->GetFile(request.file, choice.target, choice.offset, choice.append);
    };
    std::function<void(int)> then;
    if (transfer) {
        then = [request](int result) {
            // A failed or cancelled download leaves a partial file, which must never be uploaded.
            if (!result) {
                RemoveTemporaryFile(request.localPath);
                return;
            }
            OperationRequest upload;
            upload.targetServer = request.targetServer;
            upload.file = request.localPath;
            upload.targetFile = request.targetFile;
            upload.kind = OperationKind::Upload;
            OnUiThread([upload] { StartOperation(upload); });
        };
    }
    if (!RunHoldingSession(std::move(session), download, then) && transfer)
        RemoveTemporaryFile(request.localPath);
}

void ForegroundUpload(const OperationRequest& request)
{
    const std::string& server = request.targetServer;
    if (GetBrowsingConnections().IsConnectionBusy(server))
        return;
    auto session = std::make_unique<ForegroundSession>(server, ForegroundUploadTexts(request));
    if (!session->Connection())
        return;
    RunHoldingSession(std::move(session), [request](ForegroundSession& held) {
        QorFtpConnection& connection = *held.Connection();
        const TargetChoice choice = ChooseRemoteTarget(connection, request.targetFile, held.Cancelled());
        if (!choice.proceed || held.IsCancelled())
            return 0;
        return connection.PutFile(request.file, choice.target, choice.offset, choice.append);
    });
}

void ForegroundFolderJob(const OperationRequest& request)
{
    const bool upload = request.kind == OperationKind::FolderUpload;
    const std::string& server = upload ? request.targetServer : request.sourceServer;
    if (GetBrowsingConnections().IsConnectionBusy(server)) {
        GetInteraction().ShowMessage(OperationText::kConnectionBusy, MessageIcon::Information);
        return;
    }
    FolderJobSetup setup;
    setup.request = request;
    const auto found = [](const std::string& name, ServerRecord& record) {
        const auto entry = ServerMap.find(name);
        if (entry == ServerMap.end())
            return false;
        record = entry->second;
        return true;
    };
    if (!found(server, upload ? setup.targetRecord : setup.sourceRecord)
        || (request.kind == OperationKind::FolderTransfer && !found(request.targetServer, setup.targetRecord)))
        return;
    const std::optional<StatusTexts> texts = FolderJobStatusTexts(request);
    if (!texts)
        return;
    auto progress = std::make_shared<JobProgress>();
    auto session = std::make_unique<ForegroundSession>(server, *texts, progress);
    if (!session->Connection())
        return;
    setup.progress = progress;
    setup.timeoutSeconds = ProgramSettings().timeoutSeconds;
    // The server allows no more sessions than the one lent.
    setup.connectionsPerServer = 1;
    RunHoldingSession(std::move(session), [setup](ForegroundSession& held) mutable {
        setup.operationId = held.OperationId();
        setup.cancelled = held.Cancelled();
        setup.firstConnection = held.Connection();
        return RunFolderJob(setup);
    });
}
