// Remote listings of the folder tree, and the two commands that move through folders: Refresh
// and Up One Level.
#include "tree/CPathView.h"

#include "dialogs/FileIcons.h"
#include "listing/TreePaths.h"
#include "operations/OperationHost.h"
#include "operations/OperationIds.h"
#include "operations/OperationLists.h"
#include "settings/Settings.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include "QorFtp.h"

#include <QCoreApplication>

namespace {

std::string Retrieving(const QString& folder)
{
    return QCoreApplication::translate("CPathView", "Retreiving %1 directory").arg(folder).toStdString();
}

} // namespace

std::string CPathView::RemotePathBytesOf(const QModelIndex& item) const
{
    const QModelIndex node = item.isValid() ? item : currentIndex();
    std::vector<std::string> names;
    for (QModelIndex at = node; at.isValid(); at = at.parent())
        names.insert(names.begin(), CFolderTreeModel::NameBytesOf(at));
    return RemotePathOfNames(names, CFolderTreeModel::NameBytesOf(m_model->index(0, 0, node)));
}

void CPathView::ListRemote(const std::string& directory, bool addFoldersToTree, bool fillList, const QModelIndex& item)
{
    RemoteJob job;
    job.item = item;
    job.server = ServerNameOf(item);
    job.request.directory = directory;
    job.request.wantFolders = addFoldersToTree;
    job.request.wantRows = fillList;
    job.fillList = fillList;
    job.shownName = RemoteNameText(directory);
    QueueRemote(std::move(job));
}

// The selection's folder: change to it, then list the current folder, as a user who types cd
// and ls would.
void CPathView::ListRemoteSelection(const QModelIndex& item)
{
    RemoteJob job;
    job.item = item;
    job.server = ServerNameOf(item);
    job.request.changeDirectory = true;
    job.request.changeTo = RemotePathBytesOf(item);
    job.request.wantFolders = m_model->rowCount(item) == 0;
    job.request.wantRows = true;
    job.fillList = true;
    job.shownName = RemotePathOf(item);
    QueueRemote(std::move(job));
}

void CPathView::QueueRemote(RemoteJob job)
{
    if (job.fillList) {
        job.generation = ++m_listGeneration;
        m_listedItem = job.item;
        emit ListCleared();
        // A fill still waiting was overtaken by this one.
        std::erase_if(m_remoteQueue, [](const RemoteJob& waiting) { return waiting.fillList; });
    }
    m_remoteQueue.push_back(std::move(job));
    RunNextRemote();
}

void CPathView::RunNextRemote()
{
    while (!m_remoteRunning && !m_remoteQueue.empty()) {
        RemoteJob job = std::move(m_remoteQueue.front());
        m_remoteQueue.pop_front();
        std::shared_ptr<QorFtpConnection> connection = ConnectionList.SharedConnectionOf(job.server.toStdString());
        // The node went (disconnect, refresh) or a background transfer holds the connection.
        if (!job.item.isValid() || !connection || ConnectionList.IsTransferBusy(job.server.toStdString()))
            continue;
        m_lastUsed[job.server] = std::chrono::steady_clock::now();
        // The server closed the connection while it was idle: log in again before the listing.
        if (!job.reconnected && IsKnownLost(*connection)) {
            Reconnect(std::move(job));
            return;
        }
        const AppSettings settings = ProgramSettings();
        job.request.showName = settings.showName;

        const std::uint32_t operationId = NewOperationId();
        OperationStatus status;
        status.operationId = operationId;
        status.title = Retrieving(job.shownName);
        status.description = QCoreApplication::translate("CPathView", "Retreiving %1 directory from %2")
                                 .arg(job.shownName, job.server)
                                 .toStdString();
        OperationStatusList.Append(std::move(status));
        GetOperationHost().OperationCount(true, operationId);
        ConnectionList.SetListing(job.server.toStdString(), true);
        m_remoteRunning = true;
        m_listingConnection = connection;

        const RemoteListingRequest request = job.request;
        m_jobs->Run<RemoteListing>(
            [connection, request] { return ListRemoteFolder(*connection, request); },
            [this, job, operationId](RemoteListing& result) { RemoteDone(job, operationId, result); });
    }
}

void CPathView::RemoteDone(const RemoteJob& job, std::uint32_t operationId, RemoteListing& result)
{
    ConnectionList.SetListing(job.server.toStdString(), false);
    OperationStatusList.RemoveStatusEntry(operationId);
    GetOperationHost().OperationCount(false, operationId);
    m_remoteRunning = false;
    m_listingConnection.reset();
    ApplyRemote(job, result);
    emit ListingFinished();
    RunNextRemote();
}

void CPathView::ApplyRemote(const RemoteJob& job, RemoteListing& result)
{
    const QModelIndex item = job.item;
    if (!item.isValid())
        return;
    const bool showInList = job.fillList && job.generation == m_listGeneration;
    // 421: the server closed the control connection (or it was lost). The job runs once more
    // after a new login; a connection lost again right after one is given up.
    if (result.error == 421) {
        if (!job.reconnected)
            Reconnect(job);
        else
            Disconnect(job.server);
        return;
    }
    // The folder went while the connection was lost: the nearest parent that is still there.
    if (result.changeFailed && showInList && (job.reconnected || item == m_fallbackItem) && item.parent().isValid()
        && !IsServerNode(item.parent())) {
        m_fallbackItem = item.parent();
        setCurrentIndex(item.parent());
        return;
    }
    if (result.changeFailed) {
        if (showInList)
            ShowListMessage(tr("Error!"));
        return;
    }
    if (result.lineCount <= 0) {
        // An empty folder is still the folder shown: the list's commands (Paste, New Folder)
        // act on it.
        if (showInList && !result.folder.empty())
            emit RemoteRowsReady(job.server, result.folder, result.rows, m_pConnection);
        else if (showInList)
            ShowListMessage(tr("No Files"));
        SetChildrenFlag(item, false);
        return;
    }
    if (job.request.wantFolders && m_model->rowCount(item) == 0) {
        const bool showPlus = ProgramSettings().showPlus != 0;
        QList<QStandardItem*> nodes;
        nodes.reserve(result.folders.size());
        for (const std::string& name : result.folders)
            nodes << CFolderTreeModel::MakeRemoteNode(name, FileIcons::Folder(), NODE_FOLDER, showPlus);
        // In one insertion: a folder with thousands of subfolders is one update of the view.
        ItemOf(item)->appendRows(nodes);
    }
    if (showInList) {
        emit RemoteRowsReady(job.server, result.folder, result.rows, m_pConnection);
    }
    SetChildrenFlag(item, result.folderSeen);
}

void CPathView::OnRefresh()
{
    QModelIndex item = currentIndex();
    if (!item.isValid())
        return;
    if (IsServerNode(item) && item.data().toString() == m_strServer) {
        item = m_model->index(0, 0, item);
        if (!item.isValid())
            return;
    }
    if (IsLocal(item)) {
        RemoveChildren(item);
        if (item == MyComputerIndex()) {
            // Volumes come and go; "My Computer" itself lists nothing.
            FillDrives(ItemOf(item));
            return;
        }
        ListLocalFolder(item);
        return;
    }
    const QString server = ServerNameOf(item);
    if (IsServerNode(item) || !ConnectionList.IsConnected(server.toStdString()))
        return;
    RemoveChildren(item);
    ListRemote(RemotePathBytesOf(item), true, true, item);
}

void CPathView::OnUpOneLevel()
{
    const QModelIndex selection = currentIndex();
    if (!selection.isValid())
        return;
    if (IsLocal(selection)) {
        if (selection.parent().isValid())
            setCurrentIndex(selection.parent());
        return;
    }
    if (!m_pConnection)
        return;
    if (selection.parent().isValid()) {
        setCurrentIndex(selection.parent());
        return;
    }
    // The server node itself: its first start folder moves one level up.
    const std::string server = selection.data().toString().toStdString();
    const std::optional<ConnectionEntry> entry = ConnectionList.EntryOf(server);
    const QModelIndex first = m_model->index(0, 0, selection);
    if (!entry || !first.isValid())
        return;
    const std::optional<std::string> up = ParentStartDirectory(entry->startDirectory);
    if (!up)
        return;
    CFolderTreeModel::SetRemoteName(ItemOf(first), *up);
    RemoveChildren(first);
    SetChildrenFlag(first, true);
    ConnectionList.SetStartDirectory(server, *up);
    setCurrentIndex(first);
}
