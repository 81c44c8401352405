// Download (also the first half of View) and Upload. A download asks about the local target before
// it connects; an upload must connect first to see the remote target.
#include "CommandThread.h"

#include "Interaction.h"
#include "OperationConnection.h"
#include "OperationHost.h"
#include "OperationTexts.h"
#include "OverwriteLoop.h"

#include "QorFtp.h"

int CCommandThread::Download()
{
    if (m_isScript)
        return m_scriptConnection->GetFile(m_request.file, m_request.localPath, 0, 0);

    const TargetChoice choice = ChooseLocalTarget(m_request.localPath, m_cancelled);
    if (!choice.proceed || Cancelled())
        return 0;

    WorkerConnection connection = OpenConnection(m_serverRecord);
    if (Cancelled() || !LoginWith(*connection.get(), m_serverRecord)) {
        if (!Cancelled() && connection->GetError() == 421)
            OfferSameConnection(OperationText::kAskDownloadSameConnection, 421);
        return 0;
    }
    const int result = connection->GetFile(m_request.file, choice.target, choice.offset, choice.append);
    connection.CloseAndRelease();
    // The file actually written: after a rename in the overwrite dialog that is not localPath.
    if (m_request.kind == OperationKind::View && result)
        OpenViewedFile(choice.target);
    return result;
}

int CCommandThread::Upload()
{
    if (m_isScript)
        return m_scriptConnection->PutFile(m_request.file, m_request.targetFile, 0, 0);

    WorkerConnection connection = OpenConnection(m_serverRecord);
    if (Cancelled() || !LoginWith(*connection.get(), m_serverRecord)) {
        if (!Cancelled() && connection->GetError() == 421)
            OfferSameConnection(OperationText::kAskUploadSameConnection, 421);
        return 0;
    }
    const TargetChoice choice = ChooseRemoteTarget(*connection.get(), m_request.targetFile, m_cancelled);
    if (!choice.proceed || Cancelled()) {
        connection.CloseAndRelease();
        return 0;
    }
    const int result = connection->PutFile(m_request.file, choice.target, choice.offset, choice.append);
    connection.CloseAndRelease();
    return result;
}

void CCommandThread::OpenViewedFile(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    GetOperationHost().OpenLocalFile(folder, name);
}
