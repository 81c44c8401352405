// Connecting, connection completed, disconnecting, and closing every connection when the tree
// goes.
#include "tree/CPathView.h"

#include "dialogs/ServerPropertySheet.h"

#include "dialogs/ConnectDialog.h"
#include "dialogs/FileIcons.h"
#include "operations/OperationConnection.h"
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

#include <QPainter>
#include <QPainterPath>

namespace {

// A small padlock: a dark shackle over a gold body with a dark rim, readable at 16 pixels on a
// light and on a selected (dark) row alike.
QPixmap DrawnLock(int size)
{
    QPixmap lock(size, size);
    lock.fill(Qt::transparent);
    QPainter painter(&lock);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 10.0;
    const QColor rim(0x3a, 0x2c, 0x00);
    painter.setPen(QPen(rim, 1.6 * unit));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(3 * unit, 1 * unit, 4 * unit, 6 * unit), 2 * unit, 2 * unit);
    painter.setPen(QPen(rim, 1.0 * unit));
    painter.setBrush(QColor(0xf2, 0xb8, 0x1c));
    painter.drawRoundedRect(QRectF(1 * unit, 4.5 * unit, 8 * unit, 5 * unit), unit, unit);
    return lock;
}

// The connected computer with a lock over its lower right corner.
QIcon LockedComputer()
{
    static const QIcon locked = [] {
        const QIcon base = FileIcons::ConnectedComputer();
        QIcon result;
        for (const int size : {16, 22, 24, 32, 48}) {
            QPixmap picture = base.pixmap(size, size);
            if (picture.isNull())
                continue;
            QPainter painter(&picture);
            const int lockSize = size * 5 / 8 + 1;
            const int side = static_cast<int>(picture.width() / picture.devicePixelRatio());
            painter.drawPixmap(QRect(side - lockSize, side - lockSize, lockSize, lockSize), DrawnLock(lockSize));
            painter.end();
            result.addPixmap(picture);
        }
        return result;
    }();
    return locked;
}

} // namespace

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

std::shared_ptr<QorFtpConnection> CPathView::NewBrowsingConnection(const ServerRecord& record)
{
    std::shared_ptr<QorFtpConnection> connection = MakeBrowsingConnection();
    const AppSettings settings = ProgramSettings();
    connection->SetTimeout(settings.timeoutSeconds);
    connection->SetListingLimit(settings.maxListing);
    connection->SetPassive(record.passive);
    PrepareEncryption(*connection, record);
    return connection;
}

void CPathView::StartConnect(const ServerRecord& record)
{
    std::shared_ptr<QorFtpConnection> connection = NewBrowsingConnection(record);
    SocketHandOffMap.Create(connection.get());

    const std::uint32_t operationId = NewOperationId();
    OperationStatus status;
    status.operationId = operationId;
    const QString name = QString::fromStdString(record.name);
    status.title = tr("Connecting to %1").arg(name).toStdString();
    status.description = tr("Trying to connect to %1").arg(name).toStdString();
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
    m_lastUsed[name] = std::chrono::steady_clock::now();

    QModelIndex serverNode = ServerIndex(name);
    if (serverNode.isValid()) {
        SaveConnectTime(server.name);
    } else {
        ServerRecord stored = server;
        if (const std::string trusted = connection->NewlyTrustedFingerprint(); !trusted.empty())
            stored.trustedFingerprint = trusted;
        SaveNewServer(stored);
        serverNode = InsertServerNode(name);
    }
    QStandardItem* serverItem = ItemOf(serverNode);
    QStandardItem* start = CFolderTreeModel::MakeRemoteNode(directory, FileIcons::Folder(), NODE_PLAIN, true);
    serverItem->appendRow(start);
    ShowEncryption(serverItem, connection->EncryptionDescription());
    serverItem->setData(NODE_SERVER, CFolderTreeModel::NodeDataRole);
    expand(serverNode);

    if (ServerNameOf(currentIndex()) == name) {
        emit ListCleared();
        ListRemote(directory, true, true, start->index());
    }
    emit ConnectionCompleted(name, true);
}

void CPathView::ShowEncryption(QStandardItem* serverItem, const std::string& description)
{
    const bool encrypted = !description.empty();
    serverItem->setIcon(encrypted ? LockedComputer() : FileIcons::ConnectedComputer());
    serverItem->setData(encrypted, EncryptedRole);
    serverItem->setToolTip(encrypted ? tr("Encrypted connection: %1").arg(QString::fromStdString(description))
                                     : tr("This connection is not encrypted: the password and the files pass "
                                          "in clear text."));
    // Read out along with the name, as the lock itself cannot be.
    serverItem->setData(serverItem->text() + QStringLiteral(", ") + (encrypted ? tr("encrypted") : tr("not encrypted")),
                        Qt::AccessibleTextRole);
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

    ShowListMessage(tr("Not Connected to: %1").arg(server));
    if (!m_pConnection)
        emit ListMessageAtTop(tr("No Connection"));

    const QModelIndex serverNode = ServerIndex(server);
    if (QStandardItem* item = ItemOf(serverNode)) {
        RemoveChildren(serverNode);
        item->setIcon(FileIcons::Computer());
        item->setToolTip(QString());
        item->setData(false, EncryptedRole);
        item->setData(false, LostRole);
        item->setData(QVariant(), Qt::AccessibleTextRole);
    }
}
