#include "SameConnectionRetry.h"

#include "CommandThread.h"
#include "Interaction.h"
#include "OperationHost.h"
#include "OperationIds.h"
#include "OperationLists.h"
#include "OperationTexts.h"
#include "OverwriteLoop.h"

#include "QorFtp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>

namespace {

// Holds the browsing connection for one foreground operation: busy flag, status row and count
// pair, undone in the same way on every way out.
class ForegroundSession {
public:
    ForegroundSession(const std::string& server, const StatusTexts& texts)
        : m_server(server)
        , m_operationId(NewOperationId())
    {
        GetBrowsingConnections().SetConnectionBusy(m_server, 1);
        OperationStatus status;
        status.operationId = m_operationId;
        status.title = texts.title;
        status.description = texts.description;
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

} // namespace

void RetrySameConnectionReceived(unsigned long errorCode, std::uint32_t operationId)
{
    if (errorCode != 421) {
        PendingRequestList.Take(operationId);
        return;
    }
    RunOnSameConnection(operationId);
}

int RunOnSameConnection(std::uint32_t operationId)
{
    std::optional<OperationRequest> request = PendingRequestList.Take(operationId);
    if (!request)
        return 0;
    switch (request->kind) {
    case OperationKind::Upload:
        return ForegroundUpload(*request);
    case OperationKind::Download:
    case OperationKind::View:
    case OperationKind::Transfer:
        return ForegroundDownload(*request);
    default:
        // Only the operations above ever offer the retry.
        return 0;
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

int ForegroundDownload(OperationRequest request)
{
    const std::string server = request.sourceServer;
    if (GetBrowsingConnections().IsConnectionBusy(server)) {
        GetInteraction().ShowMessage(OperationText::kConnectionBusy, MessageIcon::Information);
        return 0;
    }
    const bool transfer = request.kind == OperationKind::Transfer;
    if (transfer) {
        // Made only now, so a refused retry leaves no empty file behind.
        request.localPath = CreateTransferTemporaryFile();
        if (request.localPath.empty()) {
            GetInteraction().ShowMessage(
                FillInsert(OperationText::kTemporaryFileFailed, QDir::tempPath().toStdString(), request.file),
                MessageIcon::Error);
            return 0;
        }
    }

    int result = 0;
    {
        ForegroundSession session(server, ForegroundDownloadTexts(request));
        if (!session.Connection()) {
            GetInteraction().ShowMessage(OperationText::kConnectionBusy, MessageIcon::Information, session.Cancelled());
        } else {
            // The temporary file exists because it was just made for this download: nothing to ask.
            TargetChoice choice;
            if (transfer)
                choice = TargetChoice{true, request.localPath, 0, 0};
            else
                choice = ChooseLocalTarget(request.localPath, session.Cancelled());
            if (choice.proceed && !session.IsCancelled())
                result = session.Connection()->GetFile(request.file, choice.target, choice.offset, choice.append);
        }
    }

    if (transfer) {
        // A failed or cancelled download leaves a partial file, which must never be uploaded.
        if (!result) {
            RemoveTemporaryFile(request.localPath);
            return 0;
        }
        OperationRequest upload;
        upload.targetServer = request.targetServer;
        upload.file = request.localPath;
        upload.targetFile = request.targetFile;
        upload.kind = OperationKind::Upload;
        StartOperation(upload);
    }
    return result;
}

int ForegroundUpload(const OperationRequest& request)
{
    const std::string& server = request.targetServer;
    if (GetBrowsingConnections().IsConnectionBusy(server))
        return 0;
    ForegroundSession session(server, ForegroundUploadTexts(request));
    QorFtpConnection* connection = session.Connection();
    if (!connection)
        return 0;
    const TargetChoice choice = ChooseRemoteTarget(*connection, request.targetFile, session.Cancelled());
    if (!choice.proceed || session.IsCancelled())
        return 0;
    return connection->PutFile(request.file, choice.target, choice.offset, choice.append);
}
