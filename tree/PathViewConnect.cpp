// Connecting, connection completed, disconnecting, and closing every connection when the tree
// goes.
#include "tree/CPathView.h"

#include "dialogs/ServerPropertySheet.h"

#include "dialogs/ConnectDialog.h"
#include "dialogs/FileIcons.h"
#include "operations/OperationHost.h"
#include "operations/OperationIds.h"
#include "operations/OperationLists.h"
#include "servers/CConnectThread.h"
#include "servers/ServerMap.h"
#include "servers/ServerStore.h"
#include "settings/Settings.h"
#include "tree/ConnectionList.h"
#include "tree/FolderTreeModel.h"

#include "QorFtp.h"

CPathView::~CPathView()
{
    // No result may come back into a tree that is going, and no sheet may call it.
    SetServerSheetHooks({});
    m_jobs->Target()->Detach();
    if (m_listingConnection)
        m_listingConnection->CancelOperation();
    m_listingConnection.reset();
    while (std::optional<ConnectionEntry> entry = ConnectionList.TakeFirst()) {
        SaveDuration(entry->serverName, entry->connectedAt);
    }
    SetBrowsingConnections(nullptr);
    m_jobs.reset();
}

void CPathView::OnNewConnection()
{
    Connect();
}

void CPathView::OnConnect()
{
    const QModelIndex selection = currentIndex();
    if (IsServerNode(selection))
        m_strServer = selection.data().toString();
    Connect();
}

void CPathView::Connect()
{
    CConnectDlg dialog(
        m_strServer, [](const std::string& name) { return ConnectionList.IsConnected(name); }, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    StartConnect(dialog.Record());
}

void CPathView::StartConnect(const ServerRecord& record)
{
    std::shared_ptr<QorFtpConnection> connection = MakeBrowsingConnection();
    const AppSettings settings = ProgramSettings();
    connection->SetTimeout(settings.timeoutSeconds);
    connection->SetListingLimit(settings.maxListing);
    connection->SetPassive(record.passive);
    SocketHandOffMap.Create(connection.get());

    const std::uint32_t operationId = NewOperationId();
    OperationStatus status;
    status.operationId = operationId;
    status.title = "Connecting to " + record.name;
    status.description = "Trying to connect to " + record.name;
    OperationStatusList.Append(std::move(status));
    GetOperationHost().OperationCount(true, operationId);

    std::shared_ptr<PostTarget> target = m_jobs->Target();
    auto notify = [this, target](const ServerRecord& server, std::shared_ptr<QorFtpConnection> done) {
        target->Post([this, server, done] { WM_CONNECT_DONE(server, done); });
    };
    CConnectThread::Resume(std::make_unique<CConnectThread>(record, std::move(connection), operationId, notify));
}

void CPathView::WM_CONNECT_DONE(const ServerRecord& server, std::shared_ptr<QorFtpConnection> connection)
{
    const QString name = QString::fromStdString(server.name);
    // Two attempts for one server may both succeed; the server keeps the first connection.
    if (!connection || ConnectionList.IsConnected(server.name)) {
        emit ConnectionCompleted(name, false);
        return;
    }
    if (std::optional<int> handle = SocketHandOffMap.Take(connection.get()))
        connection->AttachSocket(*handle);
    m_strServer = name;
    SetCurrentConnection(connection.get());

    std::string directory = connection->GetCurrentDirectoryA();
    // A server that would not say where the login put us is browsed from its root.
    if (directory.empty())
        directory.push_back('/');
    ConnectionEntry entry;
    entry.connection = connection;
    entry.serverName = server.name;
    entry.startDirectory = directory;
    entry.connectedAt = QDateTime::currentDateTime();
    ConnectionList.Append(std::move(entry));

    QModelIndex serverNode = ServerIndex(name);
    if (serverNode.isValid()) {
        SaveConnectTime(server.name);
    } else {
        SaveNewServer(server);
        serverNode = InsertServerNode(name);
    }
    QStandardItem* serverItem = ItemOf(serverNode);
    QStandardItem* start = CFolderTreeModel::MakeRemoteNode(directory, FileIcons::Folder(), NODE_PLAIN, true);
    serverItem->appendRow(start);
    serverItem->setIcon(FileIcons::ConnectedComputer());
    serverItem->setData(NODE_SERVER, CFolderTreeModel::NodeDataRole);
    expand(serverNode);

    if (ServerNameOf(currentIndex()) == name) {
        emit ListCleared();
        ListRemote(directory, true, true, start->index());
    }
    emit ConnectionCompleted(name, true);
}

void CPathView::OnDisconnect()
{
    // The command keeps its own rule, whatever state its action shows: a connection that a
    // transfer uses stays open.
    if (!CanDisconnect())
        return;
    Disconnect(ServerNameOf(currentIndex()));
}

bool CPathView::CanDisconnect() const
{
    const std::string server = ServerNameOf(currentIndex()).toStdString();
    return ConnectionList.IsConnected(server) && !ConnectionList.IsTransferBusy(server);
}

void CPathView::Disconnect(const QString& server)
{
    const std::string name = server.toStdString();
    std::vector<ConnectionEntry> closed = ConnectionList.RemoveServer(name);
    if (closed.empty())
        return;
    std::erase_if(m_remoteQueue, [&server](const RemoteJob& job) { return job.server == server; });
    bool wasCurrent = false;
    for (ConnectionEntry& entry : closed) {
        wasCurrent = wasCurrent || entry.connection.get() == m_pConnection;
        // A listing still running on it ends at once; the connection closes when it lets go.
        if (entry.connection == m_listingConnection)
            entry.connection->CancelOperation();
        SaveDuration(name, entry.connectedAt);
    }
    closed.clear();
    if (wasCurrent || !m_pConnection) {
        const std::shared_ptr<QorFtpConnection> first = ConnectionList.FirstConnection();
        SetCurrentConnection(first.get());
    }

    ShowListMessage(QStringLiteral("Not Connected to: ") + server);
    if (!m_pConnection)
        emit ListMessageAtTop(QStringLiteral("No Connection"));

    const QModelIndex serverNode = ServerIndex(server);
    if (QStandardItem* item = ItemOf(serverNode)) {
        RemoveChildren(serverNode);
        item->setIcon(FileIcons::Computer());
    }
}
