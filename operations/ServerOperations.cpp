// The operations that never ask about existing targets: server-to-server transfer and append,
// upload-append, download-append, change-mode and delete.
#include "CommandThread.h"

#include "Interaction.h"
#include "OperationConnection.h"
#include "OperationTexts.h"
#include "SameConnectionRetry.h"

#include "QorFtp.h"

#include <QDir>
#include <QFile>

#include <functional>

bool CCommandThread::ResolveBothServers()
{
    if (!LookUp(m_request.targetServer, m_targetRecord)) {
        ShowUserInformationError(m_request.targetServer);
        return false;
    }
    // serverRecord falls back to the target's record when the source is unknown; copying the
    // target onto itself could truncate the very file it reads.
    if (!m_sourceKnown) {
        ShowUserInformationError(m_request.sourceServer);
        return false;
    }
    return true;
}

int CCommandThread::TransferBetweenServers(bool append)
{
    if (!ResolveBothServers())
        return 0;
    const bool asks = !m_isScript && !append;
    WorkerConnection target = OpenConnection(m_targetRecord, false);

    WorkerConnection ownSource;
    QorFtpConnection* source = m_scriptConnection;
    if (!m_isScript) {
        ownSource = OpenConnection(m_serverRecord);
        source = ownSource.get();
        if (Cancelled() || !LoginWith(*source, m_serverRecord)) {
            if (asks && !Cancelled())
                OfferSameConnection(OperationText::kAskTransferSameConnection, source->GetError());
            return 0;
        }
    }

    NameInStatus(target.get());
    if (Cancelled() || !LoginWith(*target.get(), m_targetRecord)) {
        if (asks && !Cancelled())
            OfferSameConnection(OperationText::kAskTransferSameConnection, target->GetError());
        return 0;
    }

    // The copy waits on the source's control connection (it drives both servers from there), so a
    // cancel must reach the source while it runs.
    NameInStatus(source);
    QorFtpSocket* socket = target->GetSocket();
    int result = 0;
    if (socket && !source->CanCopyDirectlyTo(socket))
        result = CopyThroughHere(*source, *target.get(), append);
    else if (socket)
        result = source->FromTo(socket, m_request.file, m_request.targetFile, append ? 1 : 0);

    NameInStatus(target.get());
    ownSource.CloseAndRelease();
    target.CloseAndRelease();
    return result;
}

int CCommandThread::CopyThroughHere(QorFtpConnection& source, QorFtpConnection& target, bool append)
{
    // Encrypted data never goes to a server in clear, and a server without SSCN cannot take the
    // client's side of the data connection's TLS: the file is downloaded, then uploaded.
    const std::string temporary = CreateTransferTemporaryFile();
    if (temporary.empty()) {
        GetInteraction().ShowMessage(FillInsert(OperationText::Tr(OperationText::kTemporaryFileFailed),
                                                QDir::tempPath().toStdString(), m_request.file),
                                     MessageIcon::Error, m_cancelled);
        return 0;
    }
    if (m_operationId != 0)
        OperationStatusList.SetStatusDescription(
            m_operationId, FillInsert(OperationText::Tr(OperationText::kCopyThroughHere), m_request.file));
    NameInStatus(&source);
    int result = Cancelled() ? 0 : source.GetFile(m_request.file, temporary, 0, 0);
    if (result && !Cancelled()) {
        NameInStatus(&target);
        result = target.PutFile(temporary, m_request.targetFile, 0, append ? 1 : 0);
    } else {
        result = 0;
    }
    QFile::remove(QString::fromStdString(temporary));
    return result;
}

int CCommandThread::WithLoggedInConnection(const std::function<int(QorFtpConnection&)>& work)
{
    if (m_isScript)
        return work(*m_scriptConnection);
    WorkerConnection connection = OpenConnection(m_serverRecord);
    if (Cancelled() || !LoginWith(*connection.get(), m_serverRecord))
        return 0;
    const int result = work(*connection.get());
    connection.CloseAndRelease();
    return result;
}

int CCommandThread::UploadAppend()
{
    return WithLoggedInConnection([this](QorFtpConnection& connection) {
        return connection.PutFile(m_request.file, m_request.targetFile, 0, 1);
    });
}

int CCommandThread::DownloadAppend()
{
    return WithLoggedInConnection([this](QorFtpConnection& connection) {
        return connection.GetFile(m_request.file, m_request.targetFile, 0, 1);
    });
}

QorFtpConnection* CCommandThread::ConnectionWithoutLoginCheck(WorkerConnection& own)
{
    if (m_isScript)
        return m_scriptConnection;
    own = OpenConnection(m_serverRecord);
    // The login is not tested: the calls that follow then fail in the library, which says why.
    if (!Cancelled())
        LoginWith(*own.get(), m_serverRecord);
    return own.get();
}

int CCommandThread::ChangeFileMode()
{
    WorkerConnection own;
    QorFtpConnection* connection = ConnectionWithoutLoginCheck(own);
    std::string mode = m_request.fileMode;
    if (mode.empty()) {
        std::string permissions;
        // Without the present permissions there is nothing to start the dialog from, and the
        // library has already told why.
        std::optional<std::string> chosen;
        if (!Cancelled() && connection->GetFilePermission(m_request.file, permissions))
            chosen = GetInteraction().AskPermissions(m_request.file, permissions, m_cancelled);
        if (!chosen || Cancelled()) {
            own.CloseAndRelease();
            return 0;
        }
        mode = *chosen;
    }
    const int result = connection->ChMod(m_request.file, mode);
    own.CloseAndRelease();
    return result;
}

int CCommandThread::DeleteFile()
{
    WorkerConnection own;
    QorFtpConnection* connection = ConnectionWithoutLoginCheck(own);
    const int result = Cancelled() ? 0 : connection->DeleteFileA(m_request.file);
    own.CloseAndRelease();
    return result;
}
